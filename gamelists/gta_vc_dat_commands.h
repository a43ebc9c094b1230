// GTA_VC.DAT OPEN, ADD, DEL and CLOSE: script edits of the game's master
// list, held in the run's GtaVcDatList from OPEN to CLOSE.
#pragma once

#include "editing/command.h"
#include "gamelists/gta_vc_dat_list.h"

namespace quarn {

/// Reads data\gta_vc.dat of the game folder into `list`, the splash
/// slots emptied first. A line of unknown class, a fourth splash line or a
/// class list over its capacity fails the run with the list left closed.
EditorCommand<GtaVcDatList> RunGtaVcDatOpen;

/// Appends the upper-cased argument to the list of its class, or sets a
/// splash slot ("SPLASH1 " to "SPLASH3 " and the line, case kept).
EditorCommand<GtaVcDatList> RunGtaVcDatAdd;

/// Deletes every entry of the argument's class list equal to it without
/// regard to case, or empties a splash slot ("SPLASH1" to "SPLASH3"). Fails
/// the run when nothing was deleted.
EditorCommand<GtaVcDatList> RunGtaVcDatDel;

/// Writes the list back over the file it was read from, in the fixed
/// layout, and closes it. On failure the file keeps its old content.
EditorCommand<GtaVcDatList> RunGtaVcDatClose;

}  // namespace quarn
