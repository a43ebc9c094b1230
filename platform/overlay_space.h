// The room on disk that the changes an overlay holds would take, disk by
// disk, kept against the free room each disk had when the run first wrote
// there, so that a dry run refuses the write a real run could not make.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "platform/file_system.h"

namespace quarn {

/// Counts, for every file a run changes, the whole blocks its bytes would
/// take on its disk now against those it took before the run, plus what the
/// undo journal would keep of the bytes the run replaces. Files are named
/// by the overlay's location keys. Not for two threads at once.
class OverlaySpace {
 public:
  /// Asks `base`, which must outlive it, for the room on each disk.
  explicit OverlaySpace(FileSystem& base) : base_(base) {}

  /// Starts counting file `key` in folder `folder` (engine form), which
  /// took `base_length` bytes on disk before the run; nothing happens if it
  /// is counted already.
  void Track(const std::string& key, const std::string& folder,
             uint64_t base_length);

  /// True when file `key` is counted.
  bool Tracks(const std::string& key) const { return files_.count(key) != 0; }

  /// Makes file `key` (counted) take `length` bytes; false, and nothing
  /// changed, when its disk could not hold them (`*reason` then has the
  /// platform's words). A shorter file gives its room back.
  bool Resize(const std::string& key, uint64_t length, std::string* reason);

  /// True when `extra` more bytes in a file of its own (a temporary copy
  /// beside file `key`) would fit on file `key`'s disk now; else false with
  /// the platform's words in `*reason`.
  bool Fits(const std::string& key, uint64_t extra, std::string* reason);

  /// File `from` now lies at `to` (both counted): `to`'s old bytes give
  /// their room back and `from` takes none.
  void Move(const std::string& from, const std::string& to);

  /// Counts the bytes file `key` had before the run in [begin, end) as kept
  /// by the undo journal in folder `journal_folder`, each byte once; false,
  /// and nothing changed, when they would not fit on that folder's disk.
  bool Journal(const std::string& key, const std::string& journal_folder,
               uint64_t begin, uint64_t end, std::string* reason);

  /// The room left on the disk of the existing folder `folder` after the
  /// changes counted; false where the base cannot tell.
  bool FreeSpaceOf(const std::string& folder, DiskSpace* space);

 private:
  struct Disk {
    DiskSpace space;             // as the base gave it before any change
    int64_t blocks_taken = 0;    // by the counted files, beyond before
    uint64_t journal_bytes = 0;  // kept by the undo journal
  };
  struct Counted {
    Disk* disk = nullptr;  // null: the base cannot tell; nothing is checked
    uint64_t base_length = 0;
    uint64_t blocks = 0;
    uint64_t journaled = 0;  // bytes from the start the journal keeps
  };

  Disk* DiskOf(const std::string& folder);
  static uint64_t Blocks(const Disk& disk, uint64_t bytes);
  static bool Holds(const Disk& disk, int64_t blocks, uint64_t journal_bytes);

  FileSystem& base_;
  std::map<std::string, std::unique_ptr<Disk>> disks_;  // by volume
  std::map<std::string, Counted> files_;                // by key
  std::map<std::string, Disk*> folders_;  // the disks asked for, by folder
};

}  // namespace quarn
