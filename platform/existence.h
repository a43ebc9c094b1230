// The two existence tests every command uses before it touches a file, and
// the accessibility check made after clearing a file's attributes.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace quarn {

/// True when `path` names a file that is not a folder, not hidden and not
/// system. A path ending in a backslash or colon names the folder's contents:
/// true when the folder holds at least one such file.
bool IsOrdinaryFile(FileSystem& fs, const std::string& path);

/// True when `path` names a file or folder that is neither hidden nor system.
/// A path ending in a backslash or colon names the folder's contents: true
/// when the folder holds at least one such entry besides "." and "..".
bool FolderTestPasses(FileSystem& fs, const std::string& path);

/// Clears every attribute of `path` and reads them back; true when the file
/// is then accessible for reading and rewriting.
bool ClearAttributesForAccess(FileSystem& fs, const std::string& path);

}  // namespace quarn
