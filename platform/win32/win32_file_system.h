// The file system on Windows (and under Wine), through the ANSI calls, with
// the few refusals added that Wine skips for root, so that both agree.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace quarn {

/// FileSystem over the Win32 ANSI file calls.
class Win32FileSystem : public FileSystem {
 public:
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
  /// kUnknown: Windows cannot make a name unseen.
  ProbeOutcome ProbeNewName(const std::string& folder) override;
  bool FreeSpaceOf(const std::string& folder, DiskSpace* space) override;
};

}  // namespace quarn
