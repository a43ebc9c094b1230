// A look at the game in the middle of a run that the run never notices:
// the files the run holds open are read through its own handles, and the
// record of failures is as it was when the look ends.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "platform/file_system_wrapper.h"

namespace quarn {

/// A file the run holds open, by its path.
using HeldFile = std::pair<std::string, File*>;

/// Reads through `target` as FileSystemWrapper does, except the `held`
/// files, which it reads (never writes) through the run's handles. When it
/// goes, the last failure is again what it was when it came.
class UnseenLook : public FileSystemWrapper {
 public:
  /// Looks through `target`; the files in `held` must outlive the look.
  UnseenLook(FileSystem& target, std::vector<HeldFile> held);
  ~UnseenLook() override;

  std::unique_ptr<File> Open(const std::string& path, OpenMode mode,
                             FsStatus* status) override;

 private:
  std::vector<HeldFile> held_;
  FsError before_;
};

}  // namespace quarn
