#include "platform/overlay_content.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace quarn {
namespace {

// Comparisons read this much of each side at a time.
constexpr size_t kCompareBlock = size_t{1} << 20;

}  // namespace

OverlayContent::OverlayContent(std::shared_ptr<OverlayStore> store)
    : store_(std::move(store)) {}

OverlayContent::OverlayContent(std::shared_ptr<OverlayStore> store,
                               std::shared_ptr<BaseBytes> base)
    : store_(std::move(store)),
      base_(std::move(base)),
      base_shown_(base_->length),
      length_(base_->length) {}

bool OverlayContent::ReadUnwritten(uint64_t offset, char* out, size_t size) {
  size_t from_base = 0;
  if (offset < base_shown_) {
    from_base =
        static_cast<size_t>(std::min<uint64_t>(size, base_shown_ - offset));
    size_t got = 0;
    if (!base_->file->ReadAt(offset, out, from_base, &got) ||
        got != from_base) {
      return false;
    }
  }
  std::memset(out + from_base, 0, size - from_base);
  return true;
}

// Calls `visit(at, stop, part)` for every stretch [at, stop) of [offset,
// end) in order, where `part` is the written extent's part that holds it, or
// null where nothing was written; stops at the first visit that fails.
template <typename Visit>
bool OverlayContent::Walk(uint64_t offset, uint64_t end, Visit visit) const {
  Extents::const_iterator it = extents_.upper_bound(offset);
  if (it != extents_.begin() &&
      std::prev(it)->first + std::prev(it)->second.length > offset) {
    --it;
  }
  for (uint64_t at = offset; at < end;) {
    const bool written = it != extents_.end() && it->first <= at;
    const uint64_t stop =
        written ? std::min(end, it->first + it->second.length)
                : (it == extents_.end() ? end : std::min(end, it->first));
    if (written) {
      const Extent part{stop - at, it->second.bytes,
                        it->second.from + (at - it->first)};
      if (!visit(at, stop, &part)) return false;
      ++it;
    } else if (!visit(at, stop, static_cast<const Extent*>(nullptr))) {
      return false;
    }
    at = stop;
  }
  return true;
}

bool OverlayContent::ReadExtent(const Extent& extent, char* out, size_t size) {
  if (extent.bytes) return store_->Read(*extent.bytes, extent.from, out, size);
  size_t got = 0;
  return base_->file->ReadAt(extent.from, out, size, &got) && got == size;
}

bool OverlayContent::ReadAt(uint64_t offset, void* data, size_t size,
                            size_t* got) {
  *got = 0;
  if (offset >= length_) return true;
  const uint64_t end = offset + std::min<uint64_t>(size, length_ - offset);
  char* out = static_cast<char*>(data);
  const bool read =
      Walk(offset, end, [&](uint64_t at, uint64_t stop, const Extent* part) {
        char* place = out + (at - offset);
        const size_t piece = static_cast<size_t>(stop - at);
        return part != nullptr ? ReadExtent(*part, place, piece)
                               : ReadUnwritten(at, place, piece);
      });
  if (!read) return false;
  *got = static_cast<size_t>(end - offset);
  return true;
}

// Forgets what was written in [start, end); extents reaching over either
// end keep their part outside.
void OverlayContent::Punch(uint64_t start, uint64_t end) {
  Extents::iterator it = extents_.lower_bound(start);
  if (it != extents_.begin()) {
    Extent& before = std::prev(it)->second;
    const uint64_t before_start = std::prev(it)->first;
    const uint64_t before_end = before_start + before.length;
    if (before_end > start) {
      if (before_end > end) {
        extents_[end] = Extent{before_end - end, before.bytes,
                               before.from + (end - before_start)};
      }
      before.length = start - before_start;
    }
  }
  while (it != extents_.end() && it->first < end) {
    const uint64_t extent_end = it->first + it->second.length;
    if (extent_end > end) {
      Extent rest{extent_end - end, it->second.bytes,
                  it->second.from + (end - it->first)};
      extents_.erase(it);
      extents_[end] = rest;
      return;
    }
    it = extents_.erase(it);
  }
}

// The extent whose last byte lies just before `offset` and is the last
// byte of its stored run, so that the run can grow; end() if none.
OverlayContent::Extents::iterator OverlayContent::ExtentEndingAt(
    uint64_t offset) {
  Extents::iterator it = extents_.lower_bound(offset);
  if (it == extents_.begin()) return extents_.end();
  --it;
  const Extent& extent = it->second;
  const bool touches = it->first + extent.length == offset;
  const bool run_ends =
      extent.bytes && extent.from + extent.length == extent.bytes->size();
  return touches && run_ends ? it : extents_.end();
}

bool OverlayContent::Insert(uint64_t offset, const void* data, size_t size) {
  const uint64_t end = offset + size;
  Extents::iterator grown = ExtentEndingAt(offset);
  if (grown != extents_.end() &&
      store_->Extend(*grown->second.bytes, data, size)) {
    Punch(offset, end);
    grown->second.length += size;
    return true;
  }
  std::shared_ptr<StoredBytes> bytes = store_->Keep(data, size);
  if (!bytes) return false;
  Punch(offset, end);
  extents_[offset] = Extent{size, std::move(bytes), 0};
  return true;
}

// Must follow a Punch of [offset, offset + size).
void OverlayContent::InsertBaseReference(uint64_t offset, uint64_t size,
                                         uint64_t from) {
  Extents::iterator it = extents_.lower_bound(offset);
  if (it != extents_.begin()) {
    Extent& before = std::prev(it)->second;
    if (!before.bytes && std::prev(it)->first + before.length == offset &&
        before.from + before.length == from) {
      before.length += size;
      return;
    }
  }
  extents_[offset] = Extent{size, nullptr, from};
}

bool OverlayContent::WriteAt(uint64_t offset, const void* data, size_t size) {
  if (size == 0) return true;
  const uint64_t end = offset + size;
  if (end < offset || !Insert(offset, data, size)) return false;
  length_ = std::max(length_, end);
  return true;
}

// What the source of a move shows, taken whole before anything moves, so
// that a destination overlapping it gets the bytes as they were.
std::vector<OverlayContent::Stretch> OverlayContent::StretchesOf(
    uint64_t offset, uint64_t end) const {
  std::vector<Stretch> stretches;
  Walk(offset, end, [&](uint64_t at, uint64_t stop, const Extent* part) {
    if (part != nullptr) {
      stretches.push_back(Stretch{at - offset, *part, false});
      return true;
    }
    const uint64_t base_stop = std::max(at, std::min(stop, base_shown_));
    if (at < base_stop) {
      stretches.push_back(
          Stretch{at - offset, Extent{base_stop - at, nullptr, at}, false});
    }
    if (base_stop < stop) {
      stretches.push_back(Stretch{base_stop - offset,
                                  Extent{stop - base_stop, nullptr, 0}, true});
    }
    return true;
  });
  return stretches;
}

// Zeros read where nothing is written past the base file's shown bytes;
// only over those bytes must they be stored.
bool OverlayContent::PlaceZeros(uint64_t offset, uint64_t end) {
  Punch(offset, end);
  const uint64_t over_base = std::min(end, base_shown_);
  if (offset >= over_base) return true;
  const std::vector<char> zeros(static_cast<size_t>(std::min<uint64_t>(
                                    over_base - offset, kCompareBlock)),
                                0);
  for (uint64_t at = offset; at < over_base;) {
    const size_t piece =
        static_cast<size_t>(std::min<uint64_t>(over_base - at, zeros.size()));
    if (!Insert(at, zeros.data(), piece)) return false;
    at += piece;
  }
  return true;
}

bool OverlayContent::Place(uint64_t offset, const Stretch& stretch) {
  const uint64_t end = offset + stretch.extent.length;
  if (stretch.zeros) return PlaceZeros(offset, end);
  Punch(offset, end);
  if (stretch.extent.bytes) {
    extents_[offset] = stretch.extent;
  } else {
    InsertBaseReference(offset, stretch.extent.length, stretch.extent.from);
  }
  return true;
}

// Stored bytes never change, so the moved extents share them: a 1 GiB
// archive rebuilt in place costs no memory and no scratch space.
TransferOutcome OverlayContent::MoveBytes(uint64_t from, uint64_t to,
                                          uint64_t length, uint64_t* written) {
  uint64_t unused = 0;
  uint64_t& done = written != nullptr ? *written : unused;
  done = 0;
  if (from > length_ || length > length_ - from) {
    return TransferOutcome::kReadFailed;
  }
  if (to + length < to) return TransferOutcome::kWriteFailed;
  for (const Stretch& stretch : StretchesOf(from, from + length)) {
    const uint64_t at = to + stretch.offset;
    if (!Place(at, stretch)) return TransferOutcome::kWriteFailed;
    length_ = std::max(length_, at + stretch.extent.length);
    done += stretch.extent.length;
  }
  return TransferOutcome::kDone;
}

void OverlayContent::Resize(uint64_t length) {
  if (length < length_) {
    Punch(length, length_);
    base_shown_ = std::min(base_shown_, length);
  }
  length_ = length;
}

bool OverlayContent::ShowsOriginal(uint64_t offset, uint64_t length,
                                   const std::shared_ptr<BaseBytes>& original,
                                   uint64_t original_offset) const {
  const uint64_t end = offset + length;
  if (!original || base_ != original || end < offset || end > length_) {
    return false;
  }
  return Walk(offset, end, [&](uint64_t at, uint64_t stop, const Extent* part) {
    const uint64_t wanted = original_offset + (at - offset);
    if (part != nullptr) return !part->bytes && part->from == wanted;
    return at == wanted && stop <= base_shown_;
  });
}

bool OverlayContent::DiffersFrom(const std::shared_ptr<BaseBytes>& original) {
  if (!original || length_ != original->length) return true;
  std::vector<char> mine(kCompareBlock);
  std::vector<char> theirs(kCompareBlock);
  Extents::iterator it = extents_.begin();
  for (uint64_t at = 0; at < length_;) {
    const bool written = it != extents_.end() && it->first <= at;
    const uint64_t stop = written
                              ? it->first + it->second.length
                              : (it == extents_.end() ? length_ : it->first);
    if (written) ++it;
    if (!written && base_ == original && at < base_shown_) {
      at = std::min(stop,
                    base_shown_);  // the same bytes, read from the same place
      continue;
    }
    for (; at < stop;) {
      const size_t piece =
          static_cast<size_t>(std::min<uint64_t>(stop - at, kCompareBlock));
      size_t got_mine = 0;
      size_t got_theirs = 0;
      if (!ReadAt(at, mine.data(), piece, &got_mine) ||
          !original->file->ReadAt(at, theirs.data(), piece, &got_theirs) ||
          got_mine != piece || got_theirs != piece ||
          std::memcmp(mine.data(), theirs.data(), piece) != 0) {
        return true;
      }
      at += piece;
    }
  }
  return false;
}

}  // namespace quarn
