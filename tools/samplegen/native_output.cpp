#include "tools/samplegen/native_output.h"

#include <fstream>
#include <system_error>

#include "text/lines.h"

namespace quarn {
namespace fs = std::filesystem;

bool MakeNativeFolders(const fs::path& folder, std::string* error) {
  std::error_code code;
  fs::create_directories(folder, code);
  if (fs::is_directory(folder, code)) return true;
  *error = "cannot create the folder " + folder.string();
  return false;
}

bool WriteNativeFile(const fs::path& file, const std::string& bytes,
                     std::string* error) {
  if (file.has_parent_path() && !MakeNativeFolders(file.parent_path(), error)) {
    return false;
  }
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (out) return true;
  *error = "cannot write " + file.string();
  return false;
}

bool WriteNativeTextFile(const fs::path& file,
                         const std::vector<std::string>& lines,
                         std::string* error) {
  return WriteNativeFile(file, JoinLinesCrLf(lines), error);
}

bool CopyNativeFile(const fs::path& from, const fs::path& to,
                    std::string* error) {
  if (to.has_parent_path() && !MakeNativeFolders(to.parent_path(), error)) {
    return false;
  }
  std::error_code code;
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, code);
  if (!code) return true;
  *error = "cannot copy " + from.string() + " to " + to.string() + ": " +
           code.message();
  return false;
}

}  // namespace quarn
