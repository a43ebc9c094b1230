#include "testutil/folder_listing.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "testutil/test_files.h"

namespace quarn {

std::vector<std::string> TestFolderNames(const std::string& engine_path) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry :
       std::filesystem::directory_iterator(NativePath(engine_path), error)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace quarn
