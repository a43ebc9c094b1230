#include "browser/folder_list.h"

#include <algorithm>

#include "text/ascii.h"

namespace quarn {
namespace {

// The root is everything up to the first backslash: "C:\" on Windows, "\"
// for the engine's form of a Linux path.
size_t RootLength(const std::string& folder) {
  const size_t slash = folder.find('\\');
  return slash == std::string::npos ? folder.size() : slash + 1;
}

std::vector<FolderListEntry> AncestorsOf(const std::string& folder) {
  std::vector<FolderListEntry> entries;
  const size_t root = RootLength(folder);
  entries.push_back({folder.substr(0, root), FolderKind::kRoot, 0});
  for (size_t end = folder.find('\\', root); end != std::string::npos;
       end = folder.find('\\', end + 1)) {
    const int depth = static_cast<int>(entries.size());
    entries.push_back(
        {folder.substr(0, end + 1), FolderKind::kAncestor, depth});
  }
  return entries;
}

bool IsListedSubfolder(const FolderEntry& entry) {
  if ((entry.attributes & kAttrDirectory) == 0) return false;
  if ((entry.attributes & kAttrSystem) != 0) return false;
  return entry.name != "." && entry.name != "..";
}

std::vector<std::string> SortedSubfolders(FileSystem& fs,
                                          const std::string& folder) {
  std::vector<FolderEntry> listing;
  std::vector<std::string> names;
  if (fs.ListFolder(folder, &listing) != FsStatus::kOkay) return names;
  for (const FolderEntry& entry : listing) {
    if (IsListedSubfolder(entry)) names.push_back(entry.name);
  }
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) {
              const std::string upper_a = ToUpperAscii(a);
              const std::string upper_b = ToUpperAscii(b);
              return upper_a != upper_b ? upper_a < upper_b : a < b;
            });
  return names;
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::vector<FolderListEntry> FolderListFor(FileSystem& fs,
                                           const std::string& folder) {
  const std::string path = WithTrailingBackslash(folder);
  std::vector<FolderListEntry> entries = AncestorsOf(path);
  const int depth = static_cast<int>(entries.size());
  for (const std::string& name : SortedSubfolders(fs, path)) {
    entries.push_back({path + name + "\\", FolderKind::kSubfolder, depth});
  }
  return entries;
}

size_t FolderRowOf(const std::vector<FolderListEntry>& entries) {
  size_t row = 0;
  while (row + 1 < entries.size() &&
         entries[row + 1].kind != FolderKind::kSubfolder) {
    ++row;
  }
  return row;
}

std::string NearestExistingFolder(FileSystem& fs, const std::string& path) {
  std::string folder = WithTrailingBackslash(path);
  const size_t root = RootLength(folder);
  for (;;) {
    const uint32_t attributes = fs.AttributesOf(folder);
    if (attributes != kNoSuchFile && (attributes & kAttrDirectory) != 0) {
      return folder;
    }
    if (folder.size() <= root) return "";
    folder.erase(folder.rfind('\\', folder.size() - 2) + 1);
  }
}

std::string DriveEntryText(const std::string& root,
                           const std::string& display_name) {
  const std::string letter = ToUpperAscii(root.substr(0, 2));
  const size_t paren = display_name.find('(');
  if (paren == std::string::npos) return letter;
  const std::string label = Trimmed(display_name.substr(0, paren));
  return label.empty() ? letter : letter + "  (" + label + ")";
}

}  // namespace quarn
