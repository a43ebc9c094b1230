// The overlay file system as the shared contract suite checks it: over the
// platform's own file system, owning it.
#pragma once

#include "testutil/file_system_contract.h"

namespace quarn {

/// The overlay over the native file system, for the contract suite.
FileSystemBackend OverlayBackend();

}  // namespace quarn
