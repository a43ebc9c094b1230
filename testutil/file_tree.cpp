#include "testutil/file_tree.h"

#include <vector>

#include "platform/file_contents.h"
#include "platform/folder_lock.h"
#include "text/ascii.h"

namespace quarn {
namespace {

// The entries of `folder` apart from "." and "..".
std::vector<FolderEntry> Children(FileSystem& fs, const std::string& folder) {
  std::vector<FolderEntry> entries;
  std::vector<FolderEntry> children;
  if (fs.ListFolder(folder, &entries) != FsStatus::kOkay) return children;
  for (const FolderEntry& entry : entries) {
    if (entry.name != "." && entry.name != "..") children.push_back(entry);
  }
  return children;
}

bool IsFolder(const FolderEntry& entry) {
  return (entry.attributes & kAttrDirectory) != 0;
}

void CollectFiles(FileSystem& fs, const std::string& folder,
                  const std::string& relative,
                  std::map<std::string, std::string>* files) {
  for (const FolderEntry& entry : Children(fs, folder)) {
    const std::string name = relative + ToUpperAscii(entry.name);
    if (IsFolder(entry)) {
      CollectFiles(fs, folder + entry.name + "\\", name + "\\", files);
      continue;
    }
    std::string bytes;
    if (!ReadWholeFile(fs, folder + entry.name, &bytes)) bytes = "<unreadable>";
    (*files)[name] = bytes;
  }
}

}  // namespace

void MakeFoldersThrough(FileSystem& fs, const std::string& path) {
  for (size_t at = 0; (at = path.find('\\', at + 1)) != std::string::npos;) {
    fs.MakeFolder(path.substr(0, at));
  }
  fs.MakeFolder(path);
}

bool CopyTree(FileSystem& source, const std::string& from, FileSystem& target,
              const std::string& to) {
  MakeFoldersThrough(target, to);
  for (const FolderEntry& entry : Children(source, from)) {
    if (IsFolder(entry)) {
      if (!CopyTree(source, from + entry.name + "\\", target,
                    to + entry.name + "\\")) {
        return false;
      }
      continue;
    }
    std::string bytes;
    if (!ReadWholeFile(source, from + entry.name, &bytes) ||
        !WriteWholeFile(target, to + entry.name, bytes)) {
      return false;
    }
  }
  return true;
}

namespace {

void CollectState(FileSystem& fs, const std::string& folder,
                  const std::string& relative,
                  std::map<std::string, std::string>* state) {
  for (const FolderEntry& entry : Children(fs, folder + relative)) {
    const std::string path = relative + entry.name;
    const std::string key = ToUpperAscii(path);
    if (relative.empty() && key == ToUpperAscii(kRunLockFolderName)) continue;
    const std::string attributes = std::to_string(entry.attributes);
    if (IsFolder(entry)) {
      (*state)[key] = "folder " + attributes;
      CollectState(fs, folder, path + "\\", state);
      continue;
    }
    std::string bytes;
    if (!ReadWholeFile(fs, folder + path, &bytes)) bytes = "<unreadable>";
    (*state)[key] = attributes + " " + bytes;
  }
}

}  // namespace

std::map<std::string, std::string> TreeState(FileSystem& fs,
                                             const std::string& folder) {
  std::map<std::string, std::string> state;
  CollectState(fs, folder, "", &state);
  return state;
}

std::map<std::string, std::string> TreeFiles(FileSystem& fs,
                                             const std::string& folder) {
  std::map<std::string, std::string> files;
  CollectFiles(fs, folder, "", &files);
  return files;
}

}  // namespace quarn
