#include "tools/fuzz/write_guard.h"

#include <cstdio>
#include <cstdlib>

namespace quarn {

WriteGuard::WriteGuard(MemoryFileSystem& target, const std::string& game,
                       const std::vector<std::string>& also_allowed)
    : target_(target), game_(target.CanonicalPath(game) + "\\") {
  for (const std::string& path : also_allowed) {
    also_allowed_.push_back(target.CanonicalPath(path));
  }
}

void WriteGuard::Check(const char* what, const std::string& path) const {
  const std::string canonical = target_.CanonicalPath(path);
  if (canonical.compare(0, game_.size(), game_) == 0) return;
  for (const std::string& allowed : also_allowed_) {
    if (canonical == allowed) return;
  }
  std::fprintf(stderr, "%s outside the game folder: \"%s\" (is %s)\n", what,
               path.c_str(), canonical.c_str());
  std::abort();
}

uint32_t WriteGuard::AttributesOf(const std::string& path) {
  return target_.AttributesOf(path);
}

// Attributes are cleared on the mod's own files too before they are read;
// that changes no byte and is allowed anywhere.
bool WriteGuard::SetAttributes(const std::string& path, uint32_t attributes) {
  return target_.SetAttributes(path, attributes);
}

std::unique_ptr<File> WriteGuard::Open(const std::string& path, OpenMode mode,
                                       FsStatus* status) {
  if (mode != OpenMode::kRead) Check("open for writing", path);
  return target_.Open(path, mode, status);
}

bool WriteGuard::CopyOver(const std::string& from, const std::string& to) {
  Check("copy", to);
  return target_.CopyOver(from, to);
}

bool WriteGuard::RenameOver(const std::string& from, const std::string& to) {
  Check("rename from", from);
  Check("rename to", to);
  return target_.RenameOver(from, to);
}

bool WriteGuard::MakeFolder(const std::string& path) {
  Check("new folder", path);
  return target_.MakeFolder(path);
}

bool WriteGuard::RemoveFile(const std::string& path) {
  Check("delete", path);
  return target_.RemoveFile(path);
}

FsStatus WriteGuard::ListFolder(const std::string& path,
                                std::vector<FolderEntry>* entries) {
  return target_.ListFolder(path, entries);
}

std::string WriteGuard::CurrentFolder() { return target_.CurrentFolder(); }

bool WriteGuard::ChangeFolder(const std::string& path) {
  return target_.ChangeFolder(path);
}

std::string WriteGuard::AbsolutePath(const std::string& os_path) {
  return target_.AbsolutePath(os_path);
}

}  // namespace quarn
