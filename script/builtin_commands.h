// The commands the runner handles itself: TERMINATE, CLS and PRINT.
#pragma once

#include "script/command.h"

namespace quarn {

/// TERMINATE: ends the whole run as aborted, silently.
CommandResult RunTerminate(InstallContext& ctx);

/// CLS: empties the log window; the log file keeps everything.
CommandResult RunCls(InstallContext& ctx);

/// PRINT alone: writes an empty-looking line (a single blank).
CommandResult RunPrintBlank(InstallContext& ctx);

/// PRINT and a text: writes the text as the cleaned line holds it.
CommandResult RunPrintText(InstallContext& ctx);

}  // namespace quarn
