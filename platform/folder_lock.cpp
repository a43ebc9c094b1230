#include "platform/folder_lock.h"

namespace quarn {

std::string RunLockFolderOf(const std::string& folder) {
  const bool ends_in_separator =
      !folder.empty() && (folder.back() == '\\' || folder.back() == '/');
  return folder + (ends_in_separator ? "" : "\\") + kRunLockFolderName;
}

std::string RunLockFileOf(const std::string& folder) {
  return RunLockFolderOf(folder) + "\\" + kRunLockFileName;
}

}  // namespace quarn
