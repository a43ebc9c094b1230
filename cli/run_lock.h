// One run at a time per game folder, as `quarn` tells the user about it.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "platform/file_system.h"

namespace quarn {

/// The run lock of game folder `folder` (engine form) taken through `fs`;
/// null, after one line on `err` saying why, when another run holds it or
/// it cannot be taken.
std::unique_ptr<FolderLock> LockGameFolder(FileSystem& fs,
                                           const std::string& folder,
                                           FILE* err);

}  // namespace quarn
