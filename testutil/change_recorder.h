// A file system that notes every change made through it, in order, so that
// tests can show that a file is flushed before its name replaces another.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/file_system_wrapper.h"

namespace quarn {

/// Passes every call to `target` and notes each write, resize, flush, copy
/// and rename as "write NAME", "resize NAME", "flush NAME", "copy FROM TO"
/// or "rename FROM TO", with each path cut to what follows `folder`.
class ChangeRecorder : public FileSystemWrapper {
 public:
  /// Records changes to `target`, which must outlive the recorder.
  ChangeRecorder(FileSystem& target, std::string folder);
  ~ChangeRecorder() override;

  /// The changes noted so far, oldest first.
  const std::vector<std::string>& changes() const { return *changes_; }

  /// Forgets the changes noted so far.
  void Forget() { changes_->clear(); }

  std::unique_ptr<File> Open(const std::string& path, OpenMode mode,
                             FsStatus* status) override;
  bool CopyOver(const std::string& from, const std::string& to) override;
  bool RenameOver(const std::string& from, const std::string& to) override;

 private:
  std::string Name(const std::string& path) const;

  std::string folder_;
  std::shared_ptr<std::vector<std::string>> changes_;
};

}  // namespace quarn
