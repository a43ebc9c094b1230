// GTA_VC.DAT OPEN, ADD, DEL and CLOSE: script edits of the game's master
// list, held in ctx.GtaVcDat from OPEN to CLOSE.
#pragma once

#include "script/command.h"

namespace quarn {

/// Reads data\gta_vc.dat of the game folder into ctx.GtaVcDat, the splash
/// slots emptied first. A line of unknown class, a fourth splash line or a
/// class list over its capacity fails the run with the list left closed.
CommandResult RunGtaVcDatOpen(InstallContext& ctx);

/// Appends the upper-cased argument to the list of its class, or sets a
/// splash slot ("SPLASH1 " to "SPLASH3 " and the line, case kept).
CommandResult RunGtaVcDatAdd(InstallContext& ctx);

/// Deletes every entry of the argument's class list equal to it without
/// regard to case, or empties a splash slot ("SPLASH1" to "SPLASH3"). Fails
/// the run when nothing was deleted.
CommandResult RunGtaVcDatDel(InstallContext& ctx);

/// Writes the list back over the file it was read from, in the fixed
/// layout, and closes it. On failure the file keeps its old content.
CommandResult RunGtaVcDatClose(InstallContext& ctx);

}  // namespace quarn
