// How the game reads an item-definition file: lower-case section headers
// met outside a section, one model per line, and the fixed model tables.
#pragma once

#include <string>

#include "gamecheck/loaded_game.h"

namespace quarn {

/// The model IDs the game makes itself before it reads a file.
inline constexpr long kFirstBuiltInId = 240;
/// The last of them.
inline constexpr long kLastBuiltInId = 247;
/// Characters of a model name the game keeps.
inline constexpr size_t kModelNameCapacity = 21;
/// Characters of a texture dictionary name the game keeps.
inline constexpr size_t kTxdNameCapacity = 20;

/// Checks IDE file `bytes`, named `path`, as the game loads it into `game`.
void CheckIdeFile(const std::string& path, const std::string& bytes,
                  LoadedGame* game);

}  // namespace quarn
