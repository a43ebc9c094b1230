#include "testutil/script_run.h"

#include "run/runner.h"

namespace quarn {

ScriptRun::ScriptRun(FileSystem* fs) {
  if (fs == nullptr) {
    own_fs_ = MakeNativeFileSystem();
    fs = own_fs_.get();
  }
  fs_ = fs;
  WriteTestFile(game() + "gta-vc.exe", "placeholder");
  log_ = InstallLog::Create(*fs_, installer(), &window_);
  context_ = std::make_unique<InstallContext>(*fs_, *log_);
  context_->InstallerDir = installer();
  context_->ChosenPath = game();
}

void ScriptRun::WriteScript(const std::string& lines) {
  std::string text;
  size_t start = 0;
  while (start <= lines.size()) {
    const size_t end = lines.find('\n', start);
    if (end == std::string::npos) {
      if (start < lines.size()) text += lines.substr(start) + "\r\n";
      break;
    }
    text += lines.substr(start, end - start) + "\r\n";
    start = end + 1;
  }
  WriteTestFile(installer() + "QuarnInstall.txt", text);
}

std::string ScriptRun::Run() {
  RunInstallation(*context_);
  return LogFile();
}

std::string ScriptRun::LogFile() const {
  return ReadTestFile(installer() + kLogFileName);
}

}  // namespace quarn
