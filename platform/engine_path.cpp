#include "platform/engine_path.h"

#include "text/ascii.h"

namespace quarn {
namespace {

bool HasDrive(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' && !IsEngineSeparator(path[0]);
}

bool IsShare(const std::string& path) {
  return path.size() >= 3 && IsEngineSeparator(path[0]) &&
         IsEngineSeparator(path[1]) && !IsEngineSeparator(path[2]);
}

// The name that begins at `*at`, which is moved past it and the separators
// after it.
std::string TakeName(const std::string& path, size_t* at) {
  const size_t begin = *at;
  while (*at < path.size() && !IsEngineSeparator(path[*at])) ++*at;
  const std::string name = path.substr(begin, *at - begin);
  while (*at < path.size() && IsEngineSeparator(path[*at])) ++*at;
  return name;
}

// Adds the names of `path` from `at` on, resolving "." and "..".
void AddComponents(const std::string& path, size_t at,
                   std::vector<std::string>* components) {
  while (at < path.size()) {
    const std::string name = TakeName(path, &at);
    if (name == "..") {
      if (!components->empty()) components->pop_back();
    } else if (!name.empty() && name != ".") {
      components->push_back(name);
    }
  }
}

// "\\server\share" (or "\\server" alone) from the start of `path`; `*at`
// is left after it.
std::string ShareRoot(const std::string& path, size_t* at) {
  *at = 2;
  std::string root = "\\\\" + TakeName(path, at);
  const std::string share = TakeName(path, at);
  if (!share.empty()) root += "\\" + share;
  return root;
}

EnginePath CurrentFolderPath(const std::string& current_folder) {
  return current_folder.empty() ? EnginePath()
                                : ParseEnginePath(current_folder, "");
}

}  // namespace

bool IsEngineSeparator(char c) { return c == '\\' || c == '/'; }

std::string EnginePath::Text() const {
  if (components.empty()) return root + "\\";
  std::string text = root;
  for (const std::string& name : components) text += "\\" + name;
  return text;
}

std::string EnginePath::Key() const { return ToUpperAscii(Text()); }

bool IsRelativeEnginePath(const std::string& path) {
  return !HasDrive(path) && (path.empty() || !IsEngineSeparator(path[0]));
}

EnginePath ParseEnginePath(const std::string& path,
                           const std::string& current_folder) {
  EnginePath parsed;
  size_t at = 0;
  if (IsShare(path)) {
    parsed.root = ShareRoot(path, &at);
  } else if (HasDrive(path)) {
    parsed.root = path.substr(0, 2);
    at = 2;
    if (at == path.size() || !IsEngineSeparator(path[at])) {
      const EnginePath current = CurrentFolderPath(current_folder);
      if (EqualsIgnoringCase(current.root, parsed.root)) {
        parsed.components = current.components;
      }
    }
  } else if (!path.empty() && IsEngineSeparator(path[0])) {
    parsed.root = CurrentFolderPath(current_folder).root;
  } else {
    parsed = CurrentFolderPath(current_folder);
  }
  AddComponents(path, at, &parsed.components);
  parsed.folder_only = !path.empty() && IsEngineSeparator(path.back());
  return parsed;
}

}  // namespace quarn
