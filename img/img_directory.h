// The open model archive as the IMG commands share it: the directory's
// records in memory, the files queued for the next rebuild, the open files.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace quarn {

/// Bytes in one archive sector; entries start and end on sector bounds.
inline constexpr int64_t kImgSectorSize = 2048;
/// Bytes in one directory record.
inline constexpr size_t kImgRecordSize = 32;
/// Bytes in a record's name field; names hold at most one less.
inline constexpr size_t kImgNameFieldSize = 24;
/// The most records the directory can hold.
inline constexpr size_t kImgDirectoryCapacity = 30001;
/// The most files each of the two queues can hold.
inline constexpr size_t kImgQueueCapacity = 3001;

/// One directory record, kept byte for byte as it lies on disk (bytes after
/// a name's NUL are kept and written back unchanged).
struct ImgEntry {
  uint8_t bytes[kImgRecordSize] = {};

  /// The data's position, in sectors.
  int32_t Offset() const;
  /// The data's length, in sectors.
  int32_t Size() const;
  /// The name up to its first NUL, never more than the 24-byte field.
  std::string Name() const;
  /// True when the name is empty: a deleted or replaced entry.
  bool IsHole() const { return bytes[8] == 0; }

  /// Stores the position, in sectors.
  void SetOffset(int32_t sectors);
  /// Stores the length, in sectors.
  void SetSize(int32_t sectors);
  /// Stores at most 23 characters of `name` and a NUL; later bytes stay.
  void SetName(const std::string& name);
  /// Empties the name (only its first byte); offset and size stay.
  void MarkDeleted() { bytes[8] = 0; }
};

/// The whole records of directory bytes `bytes`, in order; a part record
/// at the end is left out.
std::vector<ImgEntry> ImgRecordsOf(const std::string& bytes);

/// Reads the first `count` records of directory file `dir` in one go into
/// `*entries`; false unless every byte arrived.
bool ReadImgRecords(File& dir, size_t count, std::vector<ImgEntry>* entries);

/// A file waiting for the next rebuild to write it into the archive.
struct PendingAdd {
  std::string SourceFolder;  ///< SourceDir when it was queued
  std::string Name;          ///< the file's name, which the entry gets
};

/// The files queued since the archive was opened: textures are written
/// after all other files.
struct ImgPendingAdds {
  std::vector<PendingAdd> Others;
  std::vector<PendingAdd> Textures;
};

/// The archive's state for the whole run, across the scripts of all mods.
struct ImgDirectory {
  std::vector<ImgEntry> Entries;  ///< the records in use (the count is size())
  bool IsOpen = false;
  /// The game folder the files were opened in, ending in a backslash. The
  /// rebuild and the dump work there even if a later script names another
  /// game folder: the held archive belongs to this one.
  std::string GameFolder;
  std::unique_ptr<File> DirFile;  ///< models\gta3.dir, held unshared
  std::unique_ptr<File> ImgFile;  ///< models\gta3.img, held unshared
  ImgPendingAdds PendingAdds;

  /// Closes both files without writing anything.
  void CloseFiles();
};

}  // namespace quarn
