#include "testutil/change_recorder.h"

#include <utility>

namespace quarn {
namespace {

class RecordedFile : public File {
 public:
  RecordedFile(std::unique_ptr<File> target,
               std::shared_ptr<std::vector<std::string>> changes,
               std::string name)
      : target_(std::move(target)),
        changes_(std::move(changes)),
        name_(std::move(name)) {}

  bool ReadAt(uint64_t offset, void* data, size_t size, size_t* got) override {
    return target_->ReadAt(offset, data, size, got);
  }

  bool WriteAt(uint64_t offset, const void* data, size_t size) override {
    Note("write");
    return target_->WriteAt(offset, data, size);
  }

  bool Length(uint64_t* length) override { return target_->Length(length); }

  TransferOutcome MoveBytes(uint64_t from, uint64_t to, uint64_t length,
                            uint64_t* written) override {
    Note("write");
    return target_->MoveBytes(from, to, length, written);
  }

  bool Resize(uint64_t length) override {
    Note("resize");
    return target_->Resize(length);
  }

  bool Flush() override {
    Note("flush");
    return target_->Flush();
  }

 private:
  // A run of writes to one file is one change: only the order matters.
  void Note(const std::string& what) {
    const std::string change = what + " " + name_;
    if (changes_->empty() || changes_->back() != change) {
      changes_->push_back(change);
    }
  }

  std::unique_ptr<File> target_;
  std::shared_ptr<std::vector<std::string>> changes_;
  std::string name_;
};

}  // namespace

ChangeRecorder::ChangeRecorder(FileSystem& target, std::string folder)
    : FileSystemWrapper(target),
      folder_(std::move(folder)),
      changes_(std::make_shared<std::vector<std::string>>()) {}

ChangeRecorder::~ChangeRecorder() = default;

std::string ChangeRecorder::Name(const std::string& path) const {
  return path.compare(0, folder_.size(), folder_) == 0
             ? path.substr(folder_.size())
             : path;
}

std::unique_ptr<File> ChangeRecorder::Open(const std::string& path,
                                           OpenMode mode, FsStatus* status) {
  std::unique_ptr<File> file = FileSystemWrapper::Open(path, mode, status);
  if (!file) return nullptr;
  return std::make_unique<RecordedFile>(std::move(file), changes_, Name(path));
}

bool ChangeRecorder::CopyOver(const std::string& from, const std::string& to) {
  changes_->push_back("copy " + Name(from) + " " + Name(to));
  return FileSystemWrapper::CopyOver(from, to);
}

bool ChangeRecorder::RenameOver(const std::string& from,
                                const std::string& to) {
  changes_->push_back("rename " + Name(from) + " " + Name(to));
  return FileSystemWrapper::RenameOver(from, to);
}

}  // namespace quarn
