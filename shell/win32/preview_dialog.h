// "Preview": the dry run of the ticked mods on a worker thread behind a
// wait dialog that can cancel it, then its report in a window of its own.
#pragma once

#include <windows.h>

#include "cli/preview_run.h"

namespace quarn {

/// Runs the preview of `request` over the native file system, showing the
/// wait dialog over `owner` until it ends or is cancelled, then the report
/// until the player closes it. Changes nothing on disk.
void RunPreviewDialogs(HWND owner, PreviewRequest request);

}  // namespace quarn
