#include "platform/overlay_space.h"

#include <algorithm>

namespace quarn {

// A folder the run makes lies on the disk of the nearest one that exists.
OverlaySpace::Disk* OverlaySpace::DiskOf(const std::string& folder) {
  const auto known = folders_.find(folder);
  if (known != folders_.end()) return known->second;
  Disk*& found = folders_[folder];
  DiskSpace space;
  std::string asked = folder;
  while (!base_.FreeSpaceOf(asked, &space)) {
    const size_t slash = asked.find_last_of('\\');
    if (slash == std::string::npos || asked.size() <= 1) return found;
    // A root ("\" or "C:\") keeps its backslash.
    const bool root = slash == 0 || asked[slash - 1] == ':';
    if (root && slash + 1 == asked.size()) return found;
    asked.erase(root ? slash + 1 : slash);
  }
  std::unique_ptr<Disk>& disk = disks_[space.volume];
  if (!disk) {
    disk = std::make_unique<Disk>();
    disk->space = space;
  }
  found = disk.get();
  return found;
}

uint64_t OverlaySpace::Blocks(const Disk& disk, uint64_t bytes) {
  const uint64_t block = disk.space.block_bytes;
  return bytes / block + (bytes % block != 0 ? 1 : 0);
}

// A file takes whole blocks, and so does the journal's data.
bool OverlaySpace::Holds(const Disk& disk, int64_t blocks,
                         uint64_t journal_bytes) {
  const int64_t taken =
      blocks + static_cast<int64_t>(Blocks(disk, journal_bytes));
  const uint64_t free_blocks = disk.space.free_bytes / disk.space.block_bytes;
  return taken <= 0 || static_cast<uint64_t>(taken) <= free_blocks;
}

void OverlaySpace::Track(const std::string& key, const std::string& folder,
                         uint64_t base_length) {
  if (Tracks(key)) return;
  Counted& file = files_[key];
  file.disk = DiskOf(folder);
  file.base_length = base_length;
  if (file.disk != nullptr) file.blocks = Blocks(*file.disk, base_length);
}

bool OverlaySpace::Resize(const std::string& key, uint64_t length,
                          std::string* reason) {
  Counted& file = files_[key];
  if (file.disk == nullptr) return true;
  Disk& disk = *file.disk;
  const uint64_t blocks = Blocks(disk, length);
  const int64_t taken = disk.blocks_taken + static_cast<int64_t>(blocks) -
                        static_cast<int64_t>(file.blocks);
  if (blocks > file.blocks && !Holds(disk, taken, disk.journal_bytes)) {
    *reason = disk.space.full_reason;
    return false;
  }
  disk.blocks_taken = taken;
  file.blocks = blocks;
  return true;
}

bool OverlaySpace::Fits(const std::string& key, uint64_t extra,
                        std::string* reason) {
  const Counted& file = files_[key];
  if (file.disk == nullptr) return true;
  const Disk& disk = *file.disk;
  if (Holds(disk, disk.blocks_taken + static_cast<int64_t>(Blocks(disk, extra)),
            disk.journal_bytes)) {
    return true;
  }
  *reason = disk.space.full_reason;
  return false;
}

void OverlaySpace::Move(const std::string& from, const std::string& to) {
  Counted& source = files_[from];
  Counted& target = files_[to];
  if (target.disk != nullptr) {
    target.disk->blocks_taken -= static_cast<int64_t>(target.blocks);
  }
  if (source.disk != nullptr) {
    source.disk->blocks_taken -= static_cast<int64_t>(source.blocks);
  }
  // The moved bytes take their room on the target's disk, where a rename
  // leaves them.
  target.blocks = 0;
  if (target.disk != nullptr && source.disk != nullptr) {
    target.blocks = source.blocks;
    target.disk->blocks_taken += static_cast<int64_t>(target.blocks);
  }
  source.blocks = 0;
}

// The journal keeps old bytes once each; counting them as one stretch from
// the start (never more than the file had) errs on the side of a full disk
// only for files written in scattered places.
bool OverlaySpace::Journal(const std::string& key,
                           const std::string& journal_folder, uint64_t begin,
                           uint64_t end, std::string* reason) {
  Counted& file = files_[key];
  Disk* const journal_disk = DiskOf(journal_folder);
  if (journal_disk == nullptr) return true;
  const uint64_t old_end = std::min(end, file.base_length);
  if (begin >= old_end) return true;
  const uint64_t kept =
      std::min(old_end - begin, file.base_length - file.journaled);
  if (kept == 0) return true;
  Disk& disk = *journal_disk;
  if (!Holds(disk, disk.blocks_taken, disk.journal_bytes + kept)) {
    *reason = disk.space.full_reason;
    return false;
  }
  disk.journal_bytes += kept;
  file.journaled += kept;
  return true;
}

bool OverlaySpace::FreeSpaceOf(const std::string& folder, DiskSpace* space) {
  Disk* disk = DiskOf(folder);
  if (disk == nullptr) return false;
  *space = disk->space;
  const int64_t taken = disk->blocks_taken + static_cast<int64_t>(Blocks(
                                                 *disk, disk->journal_bytes));
  const uint64_t block = disk->space.block_bytes;
  if (taken > 0) {
    const uint64_t used = static_cast<uint64_t>(taken) * block;
    space->free_bytes =
        used >= space->free_bytes ? 0 : space->free_bytes - used;
  } else {
    space->free_bytes += static_cast<uint64_t>(-taken) * block;
  }
  return true;
}

}  // namespace quarn
