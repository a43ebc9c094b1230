// The file system on Linux, made to behave as Windows (and Wine on the same
// disk) would: backslash paths, letter case that does not matter, the
// read-only, hidden and system attributes, and unshared opens.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/engine_path.h"
#include "platform/file_system.h"

namespace quarn {

/// FileSystem over POSIX calls, with Windows meaning even for root.
class PosixFileSystem : public FileSystem {
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
  ProbeOutcome ProbeNewName(const std::string& folder) override;
  bool FreeSpaceOf(const std::string& folder, DiskSpace* space) override;
};

/// The Linux spelling of parsed engine path `path`, each component found in
/// the letter case it has on disk; components that do not exist keep the
/// case they were given. Empty for a drive or a share, which Linux lacks.
std::string ResolvePosixPath(const EnginePath& path);

/// The attribute bits Wine stores in "user.DOSATTRIB" that `text` holds
/// (only hidden and system); 0 for a form it does not understand.
uint32_t ParseDosAttributeText(const std::string& text);

}  // namespace quarn
