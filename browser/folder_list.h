// What the directory list shows for a folder, worked out without windows:
// the folder's ancestors from the drive root down, then its subfolders.
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"

namespace quarn {

/// How an entry of the directory list is drawn.
enum class FolderKind { kRoot = 0, kAncestor = 1, kSubfolder = 2 };

/// One row of the directory list.
struct FolderListEntry {
  std::string path;  ///< full path ending in a backslash
  FolderKind kind = FolderKind::kRoot;
  int depth = 0;  ///< indentation level: 0 for the root
};

/// The rows for `folder` (a backslash is added when missing): the root,
/// every ancestor down to the folder itself, then its subfolders sorted by
/// name without regard to case; "." and ".." and system folders are left
/// out, hidden folders are listed. The folder itself is the entry at
/// index `FolderRowOf(entries)`.
std::vector<FolderListEntry> FolderListFor(FileSystem& fs,
                                           const std::string& folder);

/// The index of the listed folder itself (the last ancestor).
size_t FolderRowOf(const std::vector<FolderListEntry>& entries);

/// `path` if it names a folder, else its nearest existing parent folder;
/// always ending in a backslash. Empty when not even the root exists.
std::string NearestExistingFolder(FileSystem& fs, const std::string& path);

/// The drive list's text for the root `root` ("C:\") whose shell display
/// name is `display_name`: "C:", or "C:  (Label)" when the display name
/// holds a non-empty label before a "(".
std::string DriveEntryText(const std::string& root,
                           const std::string& display_name);

}  // namespace quarn
