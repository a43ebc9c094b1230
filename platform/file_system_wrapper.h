// A file system that hands every call to another one, so that a wrapper
// (faults on request, a guard on writes) overrides only what it changes.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace quarn {

/// Passes every call to `target`, which must outlive the wrapper and the
/// files opened through it.
class FileSystemWrapper : public FileSystem {
 public:
  explicit FileSystemWrapper(FileSystem& target) : target_(target) {}

  uint32_t AttributesOf(const std::string& path) override {
    return target_.AttributesOf(path);
  }
  bool SetAttributes(const std::string& path, uint32_t attributes) override {
    return target_.SetAttributes(path, attributes);
  }
  std::unique_ptr<File> Open(const std::string& path, OpenMode mode,
                             FsStatus* status) override {
    return target_.Open(path, mode, status);
  }
  bool CopyOver(const std::string& from, const std::string& to) override {
    return target_.CopyOver(from, to);
  }
  bool RenameOver(const std::string& from, const std::string& to) override {
    return target_.RenameOver(from, to);
  }
  bool MakeFolder(const std::string& path) override {
    return target_.MakeFolder(path);
  }
  bool RemoveFile(const std::string& path) override {
    return target_.RemoveFile(path);
  }
  FsStatus ListFolder(const std::string& path,
                      std::vector<FolderEntry>* entries) override {
    return target_.ListFolder(path, entries);
  }
  std::string CurrentFolder() override { return target_.CurrentFolder(); }
  bool ChangeFolder(const std::string& path) override {
    return target_.ChangeFolder(path);
  }
  std::string AbsolutePath(const std::string& os_path) override {
    return target_.AbsolutePath(os_path);
  }

 private:
  FileSystem& target_;
};

}  // namespace quarn
