#include "platform/folder_lock.h"

#include "text/ascii.h"

namespace quarn {

bool JournalKeeps(const std::string& game_key, const std::string& key) {
  if (key.size() <= game_key.size() ||
      key.compare(0, game_key.size(), game_key) != 0) {
    return false;
  }
  const std::string own = game_key + ToUpperAscii(kRunLockFolderName);
  const bool in_own = key.compare(0, own.size(), own) == 0 &&
                      (key.size() == own.size() || key[own.size()] == '\\');
  return !in_own;
}

std::string RunLockFolderOf(const std::string& folder) {
  const bool ends_in_separator =
      !folder.empty() && (folder.back() == '\\' || folder.back() == '/');
  return folder + (ends_in_separator ? "" : "\\") + kRunLockFolderName;
}

std::string RunLockFileOf(const std::string& folder) {
  return RunLockFolderOf(folder) + "\\" + kRunLockFileName;
}

}  // namespace quarn
