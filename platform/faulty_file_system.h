// A file system that fails on request, wrapped around a real one, so that
// tests can show what the program does when a disk lets it down.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/file_system_wrapper.h"

namespace quarn {

/// Which operations fail. Reads and writes are counted over every file
/// opened through the wrapper, from the moment the plan is given.
struct FaultPlan {
  int failing_write = 0;            ///< 1 = the next write fails; 0 = none does
  bool writes_stay_failed = false;  ///< every later write fails too (full disk)
  int failing_read = 0;             ///< 1 = the next read fails; 0 = none does
  bool fail_resize = false;         ///< every File::Resize fails
  bool fail_flush = false;          ///< every File::Flush fails
  bool fail_rename = false;         ///< every RenameOver fails
  bool fail_copy = false;           ///< every CopyOver fails
  /// 1 = the next write, File::Resize, File::Flush, RenameOver or CopyOver
  /// fails, counted together; 0 = none does. A failing write stores half, as
  /// above.
  int failing_change = 0;
  /// When not empty, only changes to paths that begin with it (letter case
  /// ignored) are counted for `failing_change`; others pass.
  std::string changes_under;
};

/// Passes every call to `target`, except those the plan makes fail. A failed
/// write stores the first half of its bytes, as a disk that fills up does.
class FaultyFileSystem : public FileSystemWrapper {
 public:
  /// Wraps `target`, which must outlive this object and its files.
  explicit FaultyFileSystem(FileSystem& target);
  ~FaultyFileSystem() override;

  /// Starts `plan` and counts reads and writes from zero again.
  void Plan(const FaultPlan& plan);

  /// How many writes were attempted since the plan began.
  int writes() const;

  /// How many reads were attempted since the plan began.
  int reads() const;

  /// How many changes `failing_change` counts were attempted since the plan
  /// began.
  int changes() const;

  std::unique_ptr<File> Open(const std::string& path, OpenMode mode,
                             FsStatus* status) override;
  bool CopyOver(const std::string& from, const std::string& to) override;
  bool RenameOver(const std::string& from, const std::string& to) override;

  /// The counters and plan, shared with the files opened through it.
  struct State;

 private:
  std::shared_ptr<State> state_;
};

}  // namespace quarn
