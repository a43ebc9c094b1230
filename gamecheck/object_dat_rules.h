// How the game reads data\object.dat: into a fixed buffer, up to the first
// "*" anywhere, each entry's ten properties into a slot shared by every
// model with the same properties.
#pragma once

#include <string>

#include "gamecheck/loaded_game.h"

namespace quarn {

/// Values an object.dat entry has: the model name and ten properties.
inline constexpr size_t kObjectDatValues = 11;

/// Checks object.dat `bytes`, named `path`, as the game loads it into
/// `game`, marking the models it gives object information.
void CheckObjectDat(const std::string& path, const std::string& bytes,
                    LoadedGame* game);

}  // namespace quarn
