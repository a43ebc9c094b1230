#include "platform/fs_error.h"

namespace quarn {

void FsErrorRecord::Record(const std::string& path, const std::string& reason) {
  std::lock_guard<std::mutex> lock(mutex_);
  last_ = FsError{path, reason};
}

bool FsErrorRecord::Refuse(const std::string& path, const std::string& reason) {
  Record(path, reason);
  return false;
}

FsError FsErrorRecord::Last() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return last_;
}

void FsErrorRecord::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  last_ = FsError();
}

}  // namespace quarn
