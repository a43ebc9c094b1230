// The commands the runner handles itself: TERMINATE, CLS and PRINT.
#pragma once

#include "editing/command.h"
#include "run/install_context.h"

namespace quarn {

/// TERMINATE: ends the whole run as aborted, silently.
RunCommand RunTerminate;

/// CLS: empties the log window; the log file keeps everything.
RunCommand RunCls;

/// PRINT alone: writes an empty-looking line (a single blank).
RunCommand RunPrintBlank;

/// PRINT and a text: writes the text as the cleaned line holds it.
RunCommand RunPrintText;

}  // namespace quarn
