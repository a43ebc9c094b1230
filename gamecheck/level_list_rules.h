// How the game reads its level lists, data\default.dat and then
// data\gta_vc.dat: each line's kind by a case-sensitive prefix, every file a
// line names, and the order in which the files come in.
#pragma once

#include "gamecheck/loaded_game.h"

namespace quarn {

/// The list the game reads first.
inline constexpr char kDefaultDatPath[] = "data\\default.dat";
/// The list the game reads next.
inline constexpr char kGtaVcDatPath[] = "data\\gta_vc.dat";

/// Follows both level lists as the game loads them into `game`, checking
/// every file they name, object.dat and the archive on the way.
void CheckLevelLists(LoadedGame* game);

}  // namespace quarn
