// How the game reads a placement file: each inst line becomes a building or,
// for a model with object information, a dummy; cull lines fill the cull
// zones.
#pragma once

#include <string>

#include "gamecheck/loaded_game.h"

namespace quarn {

/// Checks IPL file `bytes`, named `path`, as the game loads it into `game`.
void CheckIplFile(const std::string& path, const std::string& bytes,
                  LoadedGame* game);

}  // namespace quarn
