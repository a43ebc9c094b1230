// Where an overlay file system keeps the bytes a run writes: in memory up to
// a bound, and past it in one scratch file, so that memory stays bounded
// however much the run writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/file_system.h"

namespace quarn {

class OverlayStore;

/// One run of written bytes, in memory or in the scratch file. Bytes once
/// stored never change; a run only grows at its end.
class StoredBytes {
 public:
  ~StoredBytes();
  StoredBytes(const StoredBytes&) = delete;
  StoredBytes& operator=(const StoredBytes&) = delete;

  /// How many bytes the run holds.
  uint64_t size() const { return size_; }

 private:
  friend class OverlayStore;
  explicit StoredBytes(std::shared_ptr<OverlayStore> store);

  std::shared_ptr<OverlayStore> store_;
  std::vector<char> memory_;  // the bytes, unless they were spilled
  bool spilled_ = false;
  uint64_t spill_offset_ = 0;  // where they begin in the scratch file
  uint64_t size_ = 0;
};

/// How much an overlay keeps, and where.
struct OverlayStoreStats {
  uint64_t memory_bytes = 0;       ///< held in memory now
  uint64_t peak_memory_bytes = 0;  ///< the most ever held in memory at once
  uint64_t spilled_bytes = 0;      ///< written to the scratch file
  bool spill_failed = false;  ///< the scratch file could not be made or written
};

/// Keeps written bytes: in memory while the total stays within the bound,
/// in the scratch file beyond it. Not for two threads at once.
class OverlayStore : public std::enable_shared_from_this<OverlayStore> {
 public:
  /// Makes the scratch file on first need; null when none can be made.
  using ScratchMaker = std::function<std::unique_ptr<File>()>;

  /// A store that holds at most `memory_limit` bytes in memory.
  static std::shared_ptr<OverlayStore> Create(uint64_t memory_limit,
                                              ScratchMaker make_scratch);

  /// Stores a copy of `size` bytes; null if they could be kept nowhere.
  std::shared_ptr<StoredBytes> Keep(const void* data, size_t size);

  /// Appends `size` bytes to the end of `bytes` if that costs no copy of
  /// what it holds and keeps memory within the bound; false otherwise, and
  /// nothing changed.
  bool Extend(StoredBytes& bytes, const void* data, size_t size);

  /// Reads `size` bytes from byte `offset` of `bytes`, which must hold them.
  bool Read(const StoredBytes& bytes, uint64_t offset, void* out, size_t size);

  /// What is kept now, and the peak so far.
  OverlayStoreStats Stats() const { return stats_; }

 private:
  friend class StoredBytes;
  OverlayStore(uint64_t memory_limit, ScratchMaker make_scratch);

  bool MemoryAllows(uint64_t more) const;
  void CountMemory(uint64_t before, uint64_t after);
  bool Reserve(StoredBytes& bytes, uint64_t needed);
  bool Spill(const void* data, size_t size, uint64_t* offset);

  uint64_t memory_limit_;
  ScratchMaker make_scratch_;
  std::unique_ptr<File> scratch_;
  uint64_t scratch_end_ = 0;
  OverlayStoreStats stats_;
};

}  // namespace quarn
