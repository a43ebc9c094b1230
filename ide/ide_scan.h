// Filling the object ID registry from the game's item-definition files, so
// that a mod cannot bring an object whose ID the game already uses.
#pragma once

#include <string>

#include "editing/command.h"
#include "ide/ide_state.h"

namespace quarn {

/// The most characters a scanned IDE file's path keeps.
inline constexpr size_t kIdePathCapacity = 259;

/// Reads the IDE file `path` (at most 259 characters) and marks the IDs of
/// its definitions used. A file read before in this run has its IDs marked
/// again unchecked; otherwise an ID already used fails the run with
/// "ERROR: Object ID  <id> already used". Logs one line for the file.
CommandResult ScanIdeFile(RunContext& ctx, IdeState& ide,
                          const std::string& path);

/// Scans every IDE file that the game's "data\gta_vc.dat" names, in its
/// order, then "data\default.ide"; sets ide.IdeScanDone once all went well.
/// Any missing or unreadable file, or a conflict, fails the run.
CommandResult ScanGameIdeFiles(RunContext& ctx, IdeState& ide);

}  // namespace quarn
