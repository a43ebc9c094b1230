// A file system that lets a run change only the game folder: every change
// anywhere else ends the fuzzing process with a report, as a crash would.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/file_system_wrapper.h"
#include "platform/memory_file_system.h"

namespace quarn {

/// Passes every call to a MemoryFileSystem and checks every write, create,
/// rename, copy, new folder and delete against the allowed places. Setting
/// attributes is allowed anywhere: the program clears them on the mod's own
/// files before it reads them, which changes no byte.
class WriteGuard : public FileSystemWrapper {
 public:
  /// Allows changes below folder `game` (ending in a backslash) and to the
  /// files `also_allowed`; `target` must outlive the guard and its files.
  WriteGuard(MemoryFileSystem& target, const std::string& game,
             const std::vector<std::string>& also_allowed);

  std::unique_ptr<File> Open(const std::string& path, OpenMode mode,
                             FsStatus* status) override;
  bool CopyOver(const std::string& from, const std::string& to) override;
  bool RenameOver(const std::string& from, const std::string& to) override;
  bool MakeFolder(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;

 private:
  // Aborts with `what` and `path` unless `path` may be changed.
  void Check(const char* what, const std::string& path) const;

  const MemoryFileSystem& target_;
  std::string game_;                       // canonical, ending in a backslash
  std::vector<std::string> also_allowed_;  // canonical
};

}  // namespace quarn
