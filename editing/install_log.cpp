#include "editing/install_log.h"

namespace quarn {
namespace {

// The line buffer holds 1,900 bytes: 1,899 characters and the terminator.
constexpr size_t kLineCapacity = 1899;

}  // namespace

InstallLog::InstallLog(LogWindow* window, std::unique_ptr<File> file)
    : window_(window), file_(std::move(file)) {}

std::unique_ptr<InstallLog> InstallLog::Create(FileSystem& fs,
                                               const std::string& installer_dir,
                                               LogWindow* window) {
  std::unique_ptr<File> file =
      fs.Open(installer_dir + kLogFileName, OpenMode::kCreate, nullptr);
  if (!file) return nullptr;
  return std::make_unique<InstallLog>(window, std::move(file));
}

void InstallLog::LogLine(const std::string& text) {
  std::string line = text + "\r\n";
  if (line.size() > kLineCapacity) line.resize(kLineCapacity);
  Write(line);
}

void InstallLog::LogText(const std::string& text) { Write(text); }

void InstallLog::ClearWindow() {
  if (window_) window_->Clear();
}

void InstallLog::CloseFile() { file_.reset(); }

void InstallLog::Write(const std::string& text) {
  if (window_) window_->Append(text);
  if (!file_) return;
  // A failed write to the file must not keep the text from the window.
  if (file_->WriteAt(file_position_, text.data(), text.size())) {
    file_position_ += text.size();
  }
}

}  // namespace quarn
