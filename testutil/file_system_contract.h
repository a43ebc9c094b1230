// The backends the shared file system contract suite runs against. A new
// backend passes the same suite as the platform's own, so that no backend
// drifts from what the engine relies on.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace quarn {

/// How the contract suite makes one backend.
struct FileSystemBackend {
  std::string name;  ///< a test name part: letters and digits only
  /// A file system in which the existing folder `root` (engine form, ending
  /// in a backslash) can be written to.
  std::function<std::unique_ptr<FileSystem>(const std::string& root)> make;
  /// Another object over the same files, sharing the open-file table; empty
  /// when the backend's files are private to one object.
  std::function<std::unique_ptr<FileSystem>(FileSystem& first)>
      make_second_view;
  /// For a backend layered over another file system: that file system under
  /// `layered`, whose own changes show through the layer; empty for a
  /// backend that is not layered.
  std::function<FileSystem&(FileSystem& layered)> lower;
};

/// Test listings name the backend instead of dumping its bytes.
inline void PrintTo(const FileSystemBackend& backend, std::ostream* out) {
  *out << backend.name;
}

/// Every backend the suite checks in this build.
std::vector<FileSystemBackend> ContractBackends();

}  // namespace quarn
