#include "platform/faulty_file_system.h"

#include <mutex>

#include "text/ascii.h"

namespace quarn {

struct FaultyFileSystem::State {
  std::mutex mutex;
  FaultPlan plan;  // guarded by `mutex`, as are the counters
  int writes = 0;
  int reads = 0;
  int changes = 0;

  bool NextWriteFails(const std::string& path) {
    const bool change_fails = NextChangeFails(path);
    std::lock_guard<std::mutex> lock(mutex);
    ++writes;
    if (change_fails) return true;
    if (plan.failing_write <= 0) return false;
    return writes == plan.failing_write ||
           (plan.writes_stay_failed && writes > plan.failing_write);
  }

  // Counts a write, resize, flush, rename or copy that changes `path`.
  bool NextChangeFails(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex);
    if (!StartsWithIgnoringCase(path, plan.changes_under)) return false;
    ++changes;
    return plan.failing_change > 0 && changes == plan.failing_change;
  }

  bool NextReadFails() {
    std::lock_guard<std::mutex> lock(mutex);
    ++reads;
    return plan.failing_read > 0 && reads == plan.failing_read;
  }

  FaultPlan Current() {
    std::lock_guard<std::mutex> lock(mutex);
    return plan;
  }
};

namespace {

// Why an injected failure failed.
constexpr char kInjectedRead[] = "injected read failure";
constexpr char kInjectedWrite[] = "injected write failure";
constexpr char kInjectedResize[] = "injected resize failure";
constexpr char kInjectedRename[] = "injected rename failure";
constexpr char kInjectedCopy[] = "injected copy failure";
constexpr char kInjectedFlush[] = "injected flush failure";

class FaultyFile : public File {
 public:
  FaultyFile(std::unique_ptr<File> target,
             std::shared_ptr<FaultyFileSystem::State> state,
             std::shared_ptr<FsErrorRecord> errors, std::string path)
      : target_(std::move(target)),
        state_(std::move(state)),
        errors_(std::move(errors)),
        path_(std::move(path)) {}

  bool ReadAt(uint64_t offset, void* data, size_t size, size_t* got) override {
    if (state_->NextReadFails()) {
      *got = 0;
      return errors_->Refuse(path_, kInjectedRead);
    }
    return target_->ReadAt(offset, data, size, got);
  }

  bool WriteAt(uint64_t offset, const void* data, size_t size) override {
    if (state_->NextWriteFails(path_)) {
      target_->WriteAt(offset, data, size / 2);
      return errors_->Refuse(path_, kInjectedWrite);
    }
    return target_->WriteAt(offset, data, size);
  }

  bool Length(uint64_t* length) override { return target_->Length(length); }

  bool Resize(uint64_t length) override {
    if (state_->NextChangeFails(path_) || state_->Current().fail_resize) {
      return errors_->Refuse(path_, kInjectedResize);
    }
    return target_->Resize(length);
  }

  bool Flush() override {
    if (state_->NextChangeFails(path_) || state_->Current().fail_flush) {
      return errors_->Refuse(path_, kInjectedFlush);
    }
    return target_->Flush();
  }

 private:
  std::unique_ptr<File> target_;
  std::shared_ptr<FaultyFileSystem::State> state_;
  std::shared_ptr<FsErrorRecord> errors_;
  std::string path_;
};

}  // namespace

FaultyFileSystem::FaultyFileSystem(FileSystem& target)
    : FileSystemWrapper(target), state_(std::make_shared<State>()) {}

FaultyFileSystem::~FaultyFileSystem() = default;

void FaultyFileSystem::Plan(const FaultPlan& plan) {
  std::lock_guard<std::mutex> lock(state_->mutex);
  state_->plan = plan;
  state_->writes = 0;
  state_->reads = 0;
  state_->changes = 0;
}

int FaultyFileSystem::writes() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->writes;
}

int FaultyFileSystem::reads() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->reads;
}

int FaultyFileSystem::changes() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->changes;
}

std::unique_ptr<File> FaultyFileSystem::Open(const std::string& path,
                                             OpenMode mode, FsStatus* status) {
  std::unique_ptr<File> file = FileSystemWrapper::Open(path, mode, status);
  if (!file) return nullptr;
  return std::make_unique<FaultyFile>(std::move(file), state_, errors(), path);
}

bool FaultyFileSystem::CopyOver(const std::string& from,
                                const std::string& to) {
  if (state_->NextChangeFails(to) || state_->Current().fail_copy) {
    return errors()->Refuse(to, kInjectedCopy);
  }
  return FileSystemWrapper::CopyOver(from, to);
}

bool FaultyFileSystem::RenameOver(const std::string& from,
                                  const std::string& to) {
  // A rename changes both names; it counts once, under either.
  const std::string& changed =
      StartsWithIgnoringCase(to, state_->Current().changes_under) ? to : from;
  if (state_->NextChangeFails(changed) || state_->Current().fail_rename) {
    return errors()->Refuse(changed, kInjectedRename);
  }
  return FileSystemWrapper::RenameOver(from, to);
}

}  // namespace quarn
