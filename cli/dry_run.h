// quarn install --dry-run: the whole run, with every change kept away from
// the disk, and a report of what the run would have changed.
#pragma once

#include <cstdio>
#include <functional>

#include "platform/file_system.h"
#include "platform/overlay_file_system.h"

namespace quarn {

/// Runs `install` over an overlay of `fs`, so that nothing it does reaches
/// the disk, and then, unless it was refused as bad usage, writes the
/// change report to `err`. Returns what `install` returned.
int RunDry(FileSystem& fs, FILE* err,
           const std::function<int(FileSystem&)>& install);

/// Writes to `out` what the changes `overlay` holds would do on disk: every
/// file created, changed or deleted with its size before and after, every
/// new folder, and for each model archive changed the entries added,
/// replaced and removed.
void WriteChangeReport(OverlayFileSystem& overlay, FILE* out);

}  // namespace quarn
