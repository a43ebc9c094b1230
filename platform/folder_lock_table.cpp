#include "platform/folder_lock_table.h"

#include <utility>

namespace quarn {
namespace {

class TableLock : public FolderLock {
 public:
  TableLock(std::shared_ptr<std::set<std::string>> held, std::string key)
      : held_(std::move(held)), key_(std::move(key)) {}
  ~TableLock() override { held_->erase(key_); }

 private:
  std::shared_ptr<std::set<std::string>> held_;
  std::string key_;
};

}  // namespace

std::unique_ptr<FolderLock> FolderLockTable::Take(const std::string& key,
                                                  const std::string& folder,
                                                  FsErrorRecord& errors,
                                                  FsStatus* status) {
  if (!held_->insert(key).second) {
    *status = FsStatus::kSharingViolation;
    errors.Record(folder, kReasonLocked);
    return nullptr;
  }
  *status = FsStatus::kOkay;
  return std::make_unique<TableLock>(held_, key);
}

}  // namespace quarn
