// How the game reads the archive's directory (models\gta3.dir) at the first
// placement file: names, the order of the data, the models without a
// definition, the texture dictionaries and the collision slots.
#pragma once

#include "gamecheck/loaded_game.h"

namespace quarn {

/// Where a record's name must have its dot: within this many characters.
inline constexpr size_t kArchiveDotWithin = 20;
/// Characters of a record's name the game keeps.
inline constexpr size_t kArchiveNameCapacity = 23;

/// Checks models\gta3.dir and models\gta3.img as the game reads them into
/// `game`, after the IDE files and object.dat.
void CheckArchive(LoadedGame* game);

}  // namespace quarn
