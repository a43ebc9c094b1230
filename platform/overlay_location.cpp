#include "platform/overlay_location.h"

#include <algorithm>
#include <vector>

#include "text/ascii.h"

namespace quarn {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool HasDrive(const std::string& path) {
  return path.size() >= 2 && path[1] == ':';
}

bool IsAbsolute(const std::string& path) {
  return (!path.empty() && IsSeparator(path[0])) || HasDrive(path);
}

// Adds the components of `text` to `components`, resolving "." and "..".
void AddComponents(const std::string& text,
                   std::vector<std::string>* components) {
  std::string current;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && !IsSeparator(text[i])) {
      current += text[i];
      continue;
    }
    if (current == "..") {
      if (!components->empty()) components->pop_back();
    } else if (!current.empty() && current != ".") {
      components->push_back(current);
    }
    current.clear();
  }
}

// The root of absolute `path` ("", "C:" or "\\server\share"); its
// components go to `components`.
std::string RootAndComponents(const std::string& path,
                              const std::string& current_folder,
                              std::vector<std::string>* components) {
  if (HasDrive(path)) {
    AddComponents(path.substr(2), components);
    return path.substr(0, 2);
  }
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    std::vector<std::string> all;
    AddComponents(path.substr(2), &all);
    const size_t shared = std::min<size_t>(2, all.size());
    std::string root = "\\";
    for (size_t i = 0; i < shared; ++i) root += "\\" + all[i];
    components->assign(all.begin() + shared, all.end());
    return root;
  }
  // "\x" lies on the current folder's drive.
  AddComponents(path, components);
  return HasDrive(current_folder) ? current_folder.substr(0, 2) : "";
}

std::string Joined(const std::string& root,
                   const std::vector<std::string>& components, size_t count) {
  std::string path = root;
  for (size_t i = 0; i < count; ++i) path += "\\" + components[i];
  return count == 0 ? path + "\\" : path;
}

}  // namespace

OverlayLocation LocateInOverlay(const std::string& path,
                                const std::string& current_folder) {
  const std::string whole =
      IsAbsolute(path) ? path : current_folder + "\\" + path;
  std::vector<std::string> components;
  const std::string root =
      RootAndComponents(whole, current_folder, &components);

  OverlayLocation at;
  at.folder_only = !path.empty() && IsSeparator(path.back());
  at.path = Joined(root, components, components.size());
  at.key = ToUpperAscii(at.path);
  if (!components.empty()) {
    at.name = components.back();
    at.parent = Joined(root, components, components.size() - 1);
  }
  return at;
}

}  // namespace quarn
