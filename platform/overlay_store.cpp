#include "platform/overlay_store.h"

#include <algorithm>
#include <cstring>

namespace quarn {
namespace {

// A run in memory grows up to this size; longer writes start runs of their
// own. Big enough that appending log lines or copied data makes few runs.
constexpr uint64_t kLongestGrownRun = uint64_t{4} << 20;

}  // namespace

StoredBytes::StoredBytes(std::shared_ptr<OverlayStore> store)
    : store_(std::move(store)) {}

StoredBytes::~StoredBytes() {
  if (!spilled_) store_->CountMemory(memory_.capacity(), 0);
}

std::shared_ptr<OverlayStore> OverlayStore::Create(uint64_t memory_limit,
                                                   ScratchMaker make_scratch) {
  return std::shared_ptr<OverlayStore>(
      new OverlayStore(memory_limit, std::move(make_scratch)));
}

OverlayStore::OverlayStore(uint64_t memory_limit, ScratchMaker make_scratch)
    : memory_limit_(memory_limit), make_scratch_(std::move(make_scratch)) {}

bool OverlayStore::MemoryAllows(uint64_t more) const {
  return more <= memory_limit_ && stats_.memory_bytes <= memory_limit_ - more;
}

void OverlayStore::CountMemory(uint64_t before, uint64_t after) {
  stats_.memory_bytes = stats_.memory_bytes - before + after;
  stats_.peak_memory_bytes =
      std::max(stats_.peak_memory_bytes, stats_.memory_bytes);
}

// Makes room for `needed` bytes in a run in memory: doubling while that
// fits, else exactly what is needed. False if even that would pass the
// bound.
bool OverlayStore::Reserve(StoredBytes& bytes, uint64_t needed) {
  const uint64_t capacity = bytes.memory_.capacity();
  if (needed <= capacity) return true;
  uint64_t wanted = std::max(needed, std::min(capacity * 2, kLongestGrownRun));
  if (!MemoryAllows(wanted - capacity)) wanted = needed;
  if (!MemoryAllows(wanted - capacity)) return false;
  bytes.memory_.reserve(static_cast<size_t>(wanted));
  CountMemory(capacity, bytes.memory_.capacity());
  return true;
}

bool OverlayStore::Spill(const void* data, size_t size, uint64_t* offset) {
  if (stats_.spill_failed) return false;
  if (!scratch_) scratch_ = make_scratch_ ? make_scratch_() : nullptr;
  if (!scratch_ || !scratch_->WriteAt(scratch_end_, data, size)) {
    stats_.spill_failed = true;
    return false;
  }
  *offset = scratch_end_;
  scratch_end_ += size;
  stats_.spilled_bytes += size;
  return true;
}

std::shared_ptr<StoredBytes> OverlayStore::Keep(const void* data, size_t size) {
  std::shared_ptr<StoredBytes> bytes(new StoredBytes(shared_from_this()));
  if (Reserve(*bytes, size)) {
    const char* from = static_cast<const char*>(data);
    bytes->memory_.assign(from, from + size);
  } else if (Spill(data, size, &bytes->spill_offset_)) {
    bytes->spilled_ = true;
  } else {
    return nullptr;
  }
  bytes->size_ = size;
  return bytes;
}

bool OverlayStore::Extend(StoredBytes& bytes, const void* data, size_t size) {
  if (bytes.spilled_) {
    // Only the run that ends the scratch file can grow in place.
    uint64_t offset = 0;
    if (bytes.spill_offset_ + bytes.size_ != scratch_end_ ||
        !Spill(data, size, &offset)) {
      return false;
    }
  } else {
    if (bytes.size_ + size > kLongestGrownRun ||
        !Reserve(bytes, bytes.size_ + size)) {
      return false;
    }
    const char* from = static_cast<const char*>(data);
    bytes.memory_.insert(bytes.memory_.end(), from, from + size);
  }
  bytes.size_ += size;
  return true;
}

bool OverlayStore::Read(const StoredBytes& bytes, uint64_t offset, void* out,
                        size_t size) {
  if (offset > bytes.size_ || size > bytes.size_ - offset) return false;
  if (!bytes.spilled_) {
    std::memcpy(out, bytes.memory_.data() + offset, size);
    return true;
  }
  size_t got = 0;
  return scratch_->ReadAt(bytes.spill_offset_ + offset, out, size, &got) &&
         got == size;
}

}  // namespace quarn
