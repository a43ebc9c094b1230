// The overlay file system as the shared contract suite checks it: over the
// platform's own file system, and over one whose listing rules differ from
// the platform's, owning the file system below it.
#pragma once

#include "testutil/file_system_contract.h"

namespace quarn {

/// The overlay over the native file system, for the contract suite.
FileSystemBackend OverlayBackend();

/// The overlay over a memory file system that lists in creation order and
/// hides no dot-name, for the contract suite.
FileSystemBackend OverlayOverCreationOrderBackend();

}  // namespace quarn
