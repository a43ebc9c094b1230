// The log view: the edit control in which the install log is shown.
#pragma once

#include <windows.h>

#include "shell/log_queue.h"

namespace quarn {

/// Creates the read-only log view (identifier 101) in `window`, with no
/// text limit and the stock variable-pitch font.
HWND CreateLogView(HWND window);

/// Shows everything `queue` holds: a clear empties the view first, and
/// text is always appended at the end, wherever the user clicked.
void ShowQueuedLog(HWND log_view, LogQueue& queue);

}  // namespace quarn
