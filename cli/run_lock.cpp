#include "cli/run_lock.h"

#include "cli/failure_reason.h"
#include "cli/user_paths.h"

namespace quarn {

std::unique_ptr<FolderLock> LockGameFolder(FileSystem& fs,
                                           const std::string& folder,
                                           FILE* err) {
  FsStatus status = FsStatus::kOkay;
  std::unique_ptr<FolderLock> lock = fs.LockFolder(folder, &status);
  if (lock) return lock;
  const std::string shown = UserSpelling(folder);
  if (status == FsStatus::kSharingViolation) {
    fprintf(err,
            "quarn: another run is changing the game in %s; try again when "
            "it has finished\n",
            shown.c_str());
  } else {
    fprintf(err, "quarn: can't lock the game in %s against other runs: %s\n",
            shown.c_str(), FailureReasonLine(fs.LastError(), folder).c_str());
  }
  return nullptr;
}

}  // namespace quarn
