// Test helpers that reach the disk without going through the engine's file
// system, so that tests of the engine do not depend on what they test.
#pragma once

#include <string>

namespace quarn {

/// A fresh empty folder for one test, removed with everything in it when
/// the object goes. `path()` is its engine form ending in a backslash.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  /// The folder in engine form, ending in a backslash.
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

/// The OS's spelling of an engine path (backslashes become slashes on Linux).
std::string NativePath(const std::string& engine_path);

/// Creates the parent folders of `engine_path` and writes `bytes` into it.
void WriteTestFile(const std::string& engine_path, const std::string& bytes);

/// The whole content of `engine_path`, or "<missing>" if it cannot be read.
std::string ReadTestFile(const std::string& engine_path);

/// True when something exists at `engine_path`.
bool TestPathExists(const std::string& engine_path);

/// Creates the folder `engine_path` and its parents.
void MakeTestFolder(const std::string& engine_path);

}  // namespace quarn
