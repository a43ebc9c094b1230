// The check COL DELETE and COL CLOSE make before they touch the open file.
#pragma once

#include "col/open_col_file.h"
#include "editing/command.h"

namespace quarn {

/// Fails the run with "Install path unknown" without a game folder, then
/// with "ERROR: COL file not open" when no collision file is open.
CommandResult CheckColOpenInGame(RunContext& ctx, const OpenColFile& col);

}  // namespace quarn
