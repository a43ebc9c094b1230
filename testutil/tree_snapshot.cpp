#include "testutil/tree_snapshot.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "platform/file_system.h"
#include "testutil/test_files.h"

namespace quarn {

std::string TreeSnapshot(const std::string& engine_folder) {
  namespace stdfs = std::filesystem;
  const std::unique_ptr<FileSystem> native = MakeNativeFileSystem();
  const stdfs::path root(NativePath(engine_folder));
  std::vector<std::string> lines;
  std::error_code error;
  for (auto it = stdfs::recursive_directory_iterator(root, error);
       it != stdfs::recursive_directory_iterator(); it.increment(error)) {
    if (error) break;
    std::string relative = it->path().lexically_relative(root).string();
    std::replace(relative.begin(), relative.end(), '/', '\\');
    const bool folder = it->is_directory();
    const auto status = it->symlink_status();
    std::string line = relative + (folder ? " folder" : " file");
    line += " attributes " +
            std::to_string(native->AttributesOf(engine_folder + relative));
    line += " permissions " +
            std::to_string(static_cast<int>(status.permissions()));
    line += " modified " +
            std::to_string(
                stdfs::last_write_time(it->path()).time_since_epoch().count());
    if (!folder) {
      const std::string bytes = ReadTestFile(engine_folder + relative);
      line += " length " + std::to_string(bytes.size()) + " hash " +
              std::to_string(std::hash<std::string>()(bytes));
    }
    lines.push_back(line);
  }
  std::sort(lines.begin(), lines.end());
  std::string snapshot;
  for (const std::string& line : lines) snapshot += line + "\n";
  return snapshot;
}

}  // namespace quarn
