#include "tools/fuzz/write_guard.h"

#include <cstdio>
#include <cstdlib>

namespace quarn {

WriteGuard::WriteGuard(MemoryFileSystem& target, const std::string& game,
                       const std::vector<std::string>& also_allowed)
    : FileSystemWrapper(target),
      target_(target),
      game_(target.CanonicalPath(game) + "\\") {
  for (const std::string& path : also_allowed) {
    also_allowed_.push_back(target.CanonicalPath(path));
  }
}

void WriteGuard::Check(const char* what, const std::string& path) const {
  const std::string canonical = target_.CanonicalPath(path);
  if (canonical.compare(0, game_.size(), game_) == 0 ||
      canonical + "\\" == game_) {
    return;
  }
  for (const std::string& allowed : also_allowed_) {
    if (canonical == allowed) return;
  }
  std::fprintf(stderr, "%s outside the game folder: \"%s\" (is %s)\n", what,
               path.c_str(), canonical.c_str());
  std::abort();
}

std::unique_ptr<File> WriteGuard::Open(const std::string& path, OpenMode mode,
                                       FsStatus* status) {
  if (mode != OpenMode::kRead) Check("open for writing", path);
  return FileSystemWrapper::Open(path, mode, status);
}

bool WriteGuard::CopyOver(const std::string& from, const std::string& to) {
  Check("copy", to);
  return FileSystemWrapper::CopyOver(from, to);
}

bool WriteGuard::RenameOver(const std::string& from, const std::string& to) {
  Check("rename from", from);
  Check("rename to", to);
  return FileSystemWrapper::RenameOver(from, to);
}

bool WriteGuard::MakeFolder(const std::string& path) {
  Check("new folder", path);
  return FileSystemWrapper::MakeFolder(path);
}

bool WriteGuard::RemoveFile(const std::string& path) {
  Check("delete", path);
  return FileSystemWrapper::RemoveFile(path);
}

bool WriteGuard::RemoveFolder(const std::string& path) {
  Check("delete", path);
  return FileSystemWrapper::RemoveFolder(path);
}

}  // namespace quarn
