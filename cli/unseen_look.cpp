#include "cli/unseen_look.h"

#include "text/ascii.h"

namespace quarn {
namespace {

// Reads a file the run holds; the look never writes.
class HeldFileReader : public File {
 public:
  explicit HeldFileReader(File& held) : held_(held) {}
  bool ReadAt(uint64_t offset, void* data, size_t size, size_t* got) override {
    return held_.ReadAt(offset, data, size, got);
  }
  bool WriteAt(uint64_t, const void*, size_t) override { return false; }
  bool Length(uint64_t* length) override { return held_.Length(length); }
  bool Resize(uint64_t) override { return false; }
  bool Flush() override { return false; }

 private:
  File& held_;
};

}  // namespace

UnseenLook::UnseenLook(FileSystem& target, std::vector<HeldFile> held)
    : FileSystemWrapper(target), held_(std::move(held)), before_(LastError()) {}

UnseenLook::~UnseenLook() { errors()->Record(before_.path, before_.reason); }

std::unique_ptr<File> UnseenLook::Open(const std::string& path, OpenMode mode,
                                       FsStatus* status) {
  if (mode == OpenMode::kRead) {
    for (const HeldFile& held : held_) {
      if (held.second != nullptr && EqualsIgnoringCase(held.first, path)) {
        if (status != nullptr) *status = FsStatus::kOkay;
        return std::make_unique<HeldFileReader>(*held.second);
      }
    }
  }
  return FileSystemWrapper::Open(path, mode, status);
}

}  // namespace quarn
