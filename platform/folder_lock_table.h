// Run locks kept by a file system that lives in memory (the memory one, the
// dry run's overlay): they exclude each other inside that object only.
#pragma once

#include <memory>
#include <set>
#include <string>

#include "platform/file_system.h"

namespace quarn {

/// The folders whose run locks are held, by a key that is the same for
/// every spelling of a folder. A lock may outlive its table.
class FolderLockTable {
 public:
  /// A lock on the folder `key` names unless one lives; otherwise null,
  /// `*status` kSharingViolation and the refusal recorded in `errors`
  /// against `folder`.
  std::unique_ptr<FolderLock> Take(const std::string& key,
                                   const std::string& folder,
                                   FsErrorRecord& errors, FsStatus* status);

 private:
  std::shared_ptr<std::set<std::string>> held_ =
      std::make_shared<std::set<std::string>>();
};

}  // namespace quarn
