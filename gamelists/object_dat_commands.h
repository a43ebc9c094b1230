// OBJECT.DAT OPEN, ADD, DEL and CLOSE: script edits of the game's object
// property list, held in the run's ObjectDatList from OPEN to CLOSE.
#pragma once

#include "editing/command.h"
#include "gamelists/object_dat_list.h"

namespace quarn {

/// Reads data\object.dat of the game folder into `list`. A file
/// with more lines than the list holds fails the run, the list left closed.
EditorCommand<ObjectDatList> RunObjectDatOpen;

/// Appends the argument, as written, after the last line.
EditorCommand<ObjectDatList> RunObjectDatAdd;

/// Deletes every line equal to the argument without regard to case, or
/// beginning with it when it ends in "*", logging each; finding none is
/// not a failure.
EditorCommand<ObjectDatList> RunObjectDatDel;

/// Writes the list back over the file it was read from, ended by the end
/// marker, and closes it. On failure the file keeps its old content.
EditorCommand<ObjectDatList> RunObjectDatClose;

}  // namespace quarn
