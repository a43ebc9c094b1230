// The record of one mod's changes to one game: what each change needs to be
// put back, appended before the change is made.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace quarn {

/// What a change record says about its path as it was before the change.
enum class ChangeKind : uint32_t {
  kCreated = 1,     ///< it named nothing; undo removes what is there
  kContent = 2,     ///< it was a file of these bytes (or a folder), with
                    ///< these attributes
  kAttributes = 3,  ///< it had these attributes
  kBytes = 4,       ///< these bytes were at `offset`
  kLength = 5,      ///< the file was `offset` bytes long
  kMoves = 6,       ///< these pieces were about to move inside the file
};

/// One stretch of a file moved by the archive's rebuild, recognised by the
/// hash of its bytes at its old place or at its new one.
struct MovedPiece {
  uint64_t from = 0;
  uint64_t to = 0;
  uint64_t length = 0;
  uint64_t hash = 0;
};

/// One change record.
struct ChangeRecord {
  ChangeKind kind = ChangeKind::kCreated;
  std::string path;  ///< absolute, engine form
  bool folder = false;
  uint32_t attributes = 0;
  uint64_t offset = 0;       ///< kBytes: where; kLength: the length
  uint64_t data_length = 0;  ///< the saved bytes (kContent, kBytes)
  uint64_t data_at = 0;      ///< where they lie in the log, once read back
  std::vector<MovedPiece> pieces;  ///< kMoves, in the order they move
};

/// Appends records to a change log file, held open.
class ChangeLogWriter {
 public:
  /// Appends to `file`, the log named `path`, from its current end.
  ChangeLogWriter(std::unique_ptr<File> file, std::string path);

  /// Appends `record`; its `data_length` saved bytes are read from `source`
  /// at `source_offset`. Nothing reaches the disk for sure before Flush.
  /// False if the source could not be read or the log not written; the log
  /// then ends where it ended before.
  bool Append(const ChangeRecord& record, File* source, uint64_t source_offset);

  /// Returns once every record appended is on the disk; false if it failed.
  bool Flush();

  /// The log file's path.
  const std::string& path() const { return path_; }

  /// The log's length in bytes.
  uint64_t length() const { return end_; }

 private:
  bool WriteSavedBytes(File& source, uint64_t offset, uint64_t length,
                       uint64_t* at, class StreamHash* hash);

  std::unique_ptr<File> file_;
  std::string path_;
  uint64_t end_ = 0;
  std::vector<uint8_t> buffer_;
};

/// The whole records of the change log `file`, in the order they were
/// written. A record cut short or damaged ends the list: it was never
/// flushed, so the change it was written for was never made.
std::vector<ChangeRecord> ReadChangeLog(File& file);

}  // namespace quarn
