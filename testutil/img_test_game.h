// A game folder with a model archive, for tests of the archive commands:
// files are written straight to disk, opened into a context the way the
// archive's opening command leaves them, and read back straight from disk.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "editing/command.h"
#include "platform/file_system.h"
#include "run/install_context.h"
#include "testutil/script_run.h"
#include "testutil/test_files.h"

namespace quarn {

/// The 32 bytes of a directory record, built from the file format alone:
/// `name_field` is padded with zeros (or cut) to 24 bytes.
std::string ImgRecordBytes(int32_t offset, int32_t size,
                           const std::string& name_field);

/// `sectors` whole sectors of data that differs from entry to entry (by
/// `tag`) and from sector to sector, so any misplaced byte shows.
std::string ImgEntryData(int tag, int sectors);

/// A name field whose first byte is NUL, as a deleted entry has it; the
/// rest of `name_field` stays behind the NUL.
std::string DeletedNameField(const std::string& name_field);

/// `length` bytes of a file to add, differing by `tag`.
std::string QueuedFileData(int tag, size_t length);

/// `bytes` followed by zeros up to the next whole sector.
std::string PaddedToSector(const std::string& bytes);

/// Makes `engine_path` exactly `length` bytes long (sparse where it grows).
void ResizeTestFile(const std::string& engine_path, int64_t length);

/// The length of the file `engine_path` in bytes, or -1 if it is missing.
int64_t TestFileLength(const std::string& engine_path);

/// A game folder "game\" with models\gta3.dir and models\gta3.img, a mod
/// folder "mod\" for queued files, and a context whose log goes to memory.
class ImgTestGame {
 public:
  /// Uses the platform's file system unless `fs` is given.
  explicit ImgTestGame(FileSystem* fs = nullptr);

  /// Writes the directory and the archive files.
  void WriteFiles(const std::string& dir_bytes, const std::string& img_bytes);
  /// Holds both files open and loads the records, as opening the archive
  /// does; false if a file could not be opened.
  bool Open();
  /// Writes `bytes` as mod file `name` and queues it, textures apart.
  void Queue(const std::string& name, const std::string& bytes);
  /// Runs the rebuild handler on `line`.
  CommandResult Rebuild(const std::string& line = "IMG CLOSE");

  /// The game folder, ending in a backslash.
  std::string game() const { return folder_.path() + "game\\"; }
  /// The mod folder, ending in a backslash.
  std::string mod() const { return folder_.path() + "mod\\"; }
  /// The directory file's bytes on disk.
  std::string DirOnDisk() const { return ReadTestFile(game() + kDir); }
  /// The archive file's bytes on disk.
  std::string ImgOnDisk() const { return ReadTestFile(game() + kImg); }
  /// True when a file of `name` lies in the models folder.
  bool ModelsHold(const std::string& name) const {
    return TestPathExists(game() + "models\\" + name);
  }
  /// Everything logged so far.
  const std::string& log() const { return window_.shown; }

  InstallContext& ctx() { return *ctx_; }
  FileSystem& fs() { return *fs_; }

  static constexpr char kDir[] = "models\\gta3.dir";
  static constexpr char kImg[] = "models\\gta3.img";

 private:
  TempFolder folder_;
  std::unique_ptr<FileSystem> own_fs_;
  FileSystem* fs_;
  MemoryLogWindow window_;
  std::unique_ptr<InstallLog> log_;
  std::unique_ptr<InstallContext> ctx_;
};

}  // namespace quarn
