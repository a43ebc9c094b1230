#include "platform/existence.h"

#include <vector>

namespace quarn {
namespace {

bool IsHiddenOrSystem(uint32_t attributes) {
  return (attributes & (kAttrHidden | kAttrSystem)) != 0;
}

bool CountsAsFile(uint32_t attributes) {
  return !IsHiddenOrSystem(attributes) && (attributes & kAttrDirectory) == 0;
}

bool NamesFolderContents(const std::string& path) {
  return !path.empty() && (path.back() == '\\' || path.back() == ':');
}

// A lookup of "folder\" behaves like a search of "folder\*.*": it finds the
// folder's entries, never the folder itself.
bool ContentsHold(FileSystem& fs, const std::string& folder,
                  bool (*counts)(uint32_t)) {
  std::vector<FolderEntry> entries;
  if (fs.ListFolder(folder, &entries) != FsStatus::kOkay) return false;
  for (const FolderEntry& entry : entries) {
    if (entry.name == "." || entry.name == "..") continue;
    if (counts(entry.attributes)) return true;
  }
  return false;
}

bool CountsAsEntry(uint32_t attributes) {
  return !IsHiddenOrSystem(attributes);
}

}  // namespace

bool IsOrdinaryFile(FileSystem& fs, const std::string& path) {
  if (NamesFolderContents(path)) return ContentsHold(fs, path, CountsAsFile);
  const uint32_t attributes = fs.AttributesOf(path);
  return attributes != kNoSuchFile && CountsAsFile(attributes);
}

bool FolderTestPasses(FileSystem& fs, const std::string& path) {
  if (NamesFolderContents(path)) return ContentsHold(fs, path, CountsAsEntry);
  const uint32_t attributes = fs.AttributesOf(path);
  return attributes != kNoSuchFile && CountsAsEntry(attributes);
}

bool ClearAttributesForAccess(FileSystem& fs, const std::string& path) {
  fs.SetAttributes(path, 0);
  const uint32_t attributes = fs.AttributesOf(path);
  // Wine reports the archive bit on every file even right after it was
  // cleared; refusing it would make every game file inaccessible there.
  return attributes == 0 || attributes == kAttrNormal ||
         attributes == kAttrArchive;
}

}  // namespace quarn
