// A whole file system held in memory, with the same Windows meaning as the
// platform's own: for fuzzing, where every run needs a fresh game folder in
// microseconds, and for tests that must not touch the disk.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/engine_path.h"
#include "platform/file_system.h"
#include "platform/folder_lock_table.h"

namespace quarn {

/// FileSystem kept in memory. Paths are read as ParseEnginePath reads them,
/// except that "\x" lies in the root above the drives: a drive ("C:") or a
/// share ("\\server\share") is just a first folder. File
/// data is kept in pages, so a file with a byte far beyond 4 GiB costs one
/// page. Not for use by two threads at once.
class MemoryFileSystem : public FileSystem {
 public:
  /// An empty file system whose current folder is the root "\", which
  /// lists and marks names by `rules` (by default: sorted by upper-cased
  /// name, as Windows on NTFS, and no name hidden for its spelling).
  explicit MemoryFileSystem(ListingRules rules = ListingRules());
  ~MemoryFileSystem() override;

  /// A deep copy of every file and folder and of the current folder, with
  /// no file held open. Must not be called while a file is open.
  std::unique_ptr<MemoryFileSystem> Clone() const;

  /// The upper-cased absolute form of `path` after "." and ".." are
  /// resolved, as this file system looks it up; equal for two paths exactly
  /// when they name the same place.
  std::string CanonicalPath(const std::string& path) const;

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
  /// A lock that only this object knows of: nothing is written.
  std::unique_ptr<FolderLock> LockFolder(const std::string& folder,
                                         FsStatus* status) override;
  ProbeOutcome ProbeWrite(const std::string& path) override;
  ProbeOutcome ProbeReplace(const std::string& path) override;
  std::string RefusalReason(FsStatus status) override;
  ProbeOutcome ProbeAttributes(const std::string& path) override;
  /// Nothing but a missing folder stands in the way of a new name.
  ProbeOutcome ProbeNewName(const std::string& folder) override;
  /// False: memory has no disk to fill.
  bool FreeSpaceOf(const std::string& folder, DiskSpace* space) override;

  /// A file or folder of the tree.
  struct Node;

 private:
  struct Place;
  EnginePath Parse(const std::string& path) const;
  Place Find(const std::string& path) const;
  uint32_t Shown(const Node& node) const;

  ListingRules rules_;
  uint64_t names_made_ = 0;  // names made so far, for the creation order
  std::shared_ptr<Node> root_;
  EnginePath current_;  // case as stored
  FolderLockTable locks_;
};

}  // namespace quarn
