// The reading every COL command that takes models from a file shares: the
// game file it opens and the mod's files it adds from.
#pragma once

#include <string>
#include <vector>

#include "col/col_chunks.h"
#include "editing/command.h"

namespace quarn {

/// A collision file as a command reads it.
struct ColFileContents {
  std::vector<ColChunk> Chunks;  ///< the chunks before any foreign bytes
  /// A chunk that does not begin with "COLL" follows them: the command
  /// handles the chunks before it, then fails with "Not a COL file".
  bool ForeignBytesFollow = false;
};

/// Reads the collision file `path` after the existence and access checks
/// of every game file. A missing, inaccessible or corrupt file is logged
/// ("File not found", "Can't access file", "COL file corrupt: " + path) and
/// ends the run before anything changed.
CommandResult ReadColFile(RunContext& ctx, const std::string& path,
                          ColFileContents* contents);

/// Writes "Not a COL file" and ends the run.
CommandResult FailNotColFile(RunContext& ctx);

}  // namespace quarn
