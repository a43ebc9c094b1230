// OBJECT.DAT OPEN, ADD, DEL and CLOSE: script edits of the game's object
// property list, held in ctx.ObjectDat from OPEN to CLOSE.
#pragma once

#include "script/command.h"

namespace quarn {

/// Reads data\object.dat of the game folder into ctx.ObjectDat. A file
/// with more lines than the list holds fails the run, the list left closed.
CommandResult RunObjectDatOpen(InstallContext& ctx);

/// Appends the argument, as written, after the last line.
CommandResult RunObjectDatAdd(InstallContext& ctx);

/// Deletes every line equal to the argument without regard to case, or
/// beginning with it when it ends in "*", logging each; finding none is
/// not a failure.
CommandResult RunObjectDatDel(InstallContext& ctx);

/// Writes the list back over the file it was read from, ended by the end
/// marker, and closes it. On failure the file keeps its old content.
CommandResult RunObjectDatClose(InstallContext& ctx);

}  // namespace quarn
