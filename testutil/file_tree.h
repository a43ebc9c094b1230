// Whole folder trees moved and compared through any FileSystem, so that a
// game generated on disk can be run in memory and its files checked after.
#pragma once

#include <map>
#include <string>

#include "platform/file_system.h"

namespace quarn {

/// Makes folder `path` (engine form) and every missing folder above it.
void MakeFoldersThrough(FileSystem& fs, const std::string& path);

/// Copies every file and folder below folder `from` of `source` into folder
/// `to` of `target` (both ending in a backslash), making folders as needed.
/// Attributes are not copied. False if anything could not be read or
/// written.
bool CopyTree(FileSystem& source, const std::string& from, FileSystem& target,
              const std::string& to);

/// Every file below `folder` (ending in a backslash), by its path relative
/// to it, upper-cased, with its bytes; a file that cannot be read holds
/// "<unreadable>".
std::map<std::string, std::string> TreeFiles(FileSystem& fs,
                                             const std::string& folder);

/// Every file and folder below `folder` (ending in a backslash) but the
/// undo journal's folder at its root, by upper-cased relative path: a
/// folder as "folder <attributes>", a file as "<attributes> <bytes>".
/// Equal states mean the tree is as it was, byte for byte.
std::map<std::string, std::string> TreeState(FileSystem& fs,
                                             const std::string& folder);

}  // namespace quarn
