// The commands the runner handles itself: TERMINATE, CLS and PRINT.
#pragma once

#include "editing/command.h"
#include "run/install_context.h"

namespace quarn {

/// TERMINATE: ends the whole run as aborted, silently.
CommandResult RunTerminate(InstallContext& ctx, const Command& command);

/// CLS: empties the log window; the log file keeps everything.
CommandResult RunCls(InstallContext& ctx, const Command& command);

/// PRINT alone: writes an empty-looking line (a single blank).
CommandResult RunPrintBlank(InstallContext& ctx, const Command& command);

/// PRINT and a text: writes the text as the cleaned line holds it.
CommandResult RunPrintText(InstallContext& ctx, const Command& command);

}  // namespace quarn
