#include "cli/user_paths.h"

#include "run/install_context.h"
#include "text/ascii.h"

namespace quarn {

std::string UserSpelling(const std::string& engine_path) {
  std::string spelled = engine_path;
#ifndef _WIN32
  for (char& c : spelled) {
    if (c == '\\') c = '/';
  }
#endif
  return spelled;
}

std::string PathSpelling(const std::string& engine_path) {
  std::string path = engine_path;
  if (path.size() > 1 && path.back() == '\\') path.pop_back();
  return UserSpelling(path);
}

std::string TypedPathIn(const std::string& typed_dir, const std::string& name) {
#ifdef _WIN32
  const char separator = '\\';
#else
  const char separator = '/';
#endif
  if (typed_dir.empty()) return name;
  const char last = typed_dir.back();
  if (last == separator || last == '/') return typed_dir + name;
  return typed_dir + separator + name;
}

bool ResolveInstallerDir(FileSystem& fs, const std::string& typed_dir,
                         std::string* dir, std::string* problem) {
  const std::string folder =
      typed_dir.empty() ? fs.CurrentFolder() : fs.AbsolutePath(typed_dir);
  *dir = WithTrailingBackslash(folder);
  const std::string shown = typed_dir.empty() ? "." : typed_dir;
  if (dir->size() > kInstallerDirCapacity) {
    *problem = "the installer folder's path is longer than " +
               std::to_string(kInstallerDirCapacity) + " characters: " + shown;
    return false;
  }
  const uint32_t attributes = fs.AttributesOf(folder);
  if (attributes == kNoSuchFile || (attributes & kAttrDirectory) == 0) {
    *problem = "installer folder not found: " + shown;
    return false;
  }
  return true;
}

}  // namespace quarn
