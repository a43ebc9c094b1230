// The body of the installation: every selected script, line by line, then
// the closing banner.
#pragma once

#include "run/install_context.h"

namespace quarn {

/// Runs the single script, or every selected mod's script in catalogue
/// order, until the end, a failure or TERMINATE; then writes the closing
/// banner, the optional object ID dump, and closes every file. Returns when
/// the run is over (the window program's worker then idles).
void RunInstallation(InstallContext& ctx);

}  // namespace quarn
