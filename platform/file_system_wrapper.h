// A file system that hands every call to another one, so that a wrapper
// (faults on request, a guard on writes) overrides only what it changes.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace quarn {

/// Passes every call to `target`, which must outlive the wrapper and the
/// files opened through it; the failures of both are recorded together.
class FileSystemWrapper : public FileSystem {
 public:
  explicit FileSystemWrapper(FileSystem& target)
      : FileSystem(ErrorsOf(target)), target_(target) {}
  ~FileSystemWrapper() override;

  uint32_t AttributesOf(const std::string& path) override;
  bool SetAttributes(const std::string& path, uint32_t attributes) override;
  std::unique_ptr<File> Open(const std::string& path, OpenMode mode,
                             FsStatus* status) override;
  bool CopyOver(const std::string& from, const std::string& to) override;
  bool RenameOver(const std::string& from, const std::string& to) override;
  bool MakeFolder(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;
  FsStatus ListFolder(const std::string& path,
                      std::vector<FolderEntry>* entries) override;
  ListingRules ListingRulesOf(const std::string& path) override;
  std::string CurrentFolder() override;
  bool ChangeFolder(const std::string& path) override;
  std::string AbsolutePath(const std::string& os_path) override;
  std::unique_ptr<FolderLock> LockFolder(const std::string& folder,
                                         FsStatus* status) override;
  ProbeOutcome ProbeWrite(const std::string& path) override;
  ProbeOutcome ProbeReplace(const std::string& path) override;
  std::string RefusalReason(FsStatus status) override;
  ProbeOutcome ProbeAttributes(const std::string& path) override;
  ProbeOutcome ProbeNewName(const std::string& folder) override;
  bool FreeSpaceOf(const std::string& folder, DiskSpace* space) override;

 private:
  FileSystem& target_;
};

}  // namespace quarn
