#include "testutil/test_files.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

namespace quarn {
namespace fs = std::filesystem;
namespace {

std::string EngineForm(const fs::path& native) {
  std::string text = native.string();
#ifndef _WIN32
  for (char& c : text) {
    if (c == '/') c = '\\';
  }
#endif
  return text;
}

fs::path UniqueTempPath() {
  static std::atomic<int> counter{0};
  const fs::path base = fs::temp_directory_path();
  for (;;) {
    const fs::path candidate =
        base / ("quarn-test-" + std::to_string(std::random_device{}()) + "-" +
                std::to_string(counter++));
    std::error_code error;
    if (fs::create_directory(candidate, error)) return candidate;
  }
}

// Read-only files and folders must become writable before they can go.
void MakeTreeWritable(const fs::path& root) {
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(root, error);
       it != fs::recursive_directory_iterator(); it.increment(error)) {
    if (error) break;
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add,
                    error);
  }
}

}  // namespace

TempFolder::TempFolder() {
  path_ = EngineForm(fs::canonical(UniqueTempPath()));
  if (path_.back() != '\\') path_ += '\\';
}

TempFolder::~TempFolder() {
  const fs::path native(NativePath(path_));
  MakeTreeWritable(native);
  std::error_code error;
  fs::remove_all(native, error);
}

std::string NativePath(const std::string& engine_path) {
  std::string text = engine_path;
#ifndef _WIN32
  for (char& c : text) {
    if (c == '\\') c = '/';
  }
#endif
  return text;
}

void WriteTestFile(const std::string& engine_path, const std::string& bytes) {
  const fs::path native(NativePath(engine_path));
  std::error_code error;
  if (native.has_parent_path())
    fs::create_directories(native.parent_path(), error);
  std::ofstream out(native, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadTestFile(const std::string& engine_path) {
  std::ifstream in(NativePath(engine_path), std::ios::binary);
  if (!in) return "<missing>";
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

bool TestPathExists(const std::string& engine_path) {
  std::error_code error;
  return fs::exists(fs::path(NativePath(engine_path)), error);
}

void MakeTestFolder(const std::string& engine_path) {
  std::error_code error;
  fs::create_directories(fs::path(NativePath(engine_path)), error);
}

}  // namespace quarn
