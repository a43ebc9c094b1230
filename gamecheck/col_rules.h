// How the game reads collision data: "COLL" chunks back to back to the end
// of a file or an archive entry, each read into a fixed buffer.
#pragma once

#include <string>

#include "gamecheck/loaded_game.h"

namespace quarn {

/// Checks collision data `bytes` found in `file` (at record or line
/// `line`). An archive entry (`padded`) may end in the zero bytes that fill
/// its last sector.
void CheckColData(const std::string& file, size_t line,
                  const std::string& bytes, bool padded, LoadedGame* game);

}  // namespace quarn
