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

bool OverlayContent::ReadExtent(const Extent& extent, uint64_t skip, char* out,
                                size_t size) {
  if (extent.bytes) {
    return store_->Read(*extent.bytes, extent.from + skip, out, size);
  }
  size_t got = 0;
  return base_->file->ReadAt(extent.from + skip, out, size, &got) &&
         got == size;
}

bool OverlayContent::ReadAt(uint64_t offset, void* data, size_t size,
                            size_t* got) {
  *got = 0;
  last_read_data_ = nullptr;
  if (offset >= length_) return true;
  const uint64_t end = offset + std::min<uint64_t>(size, length_ - offset);
  char* out = static_cast<char*>(data);
  Extents::iterator it = extents_.upper_bound(offset);
  if (it != extents_.begin() &&
      std::prev(it)->first + std::prev(it)->second.length > offset) {
    --it;
  }
  for (uint64_t at = offset; at < end;) {
    const bool written = it != extents_.end() && it->first <= at;
    const uint64_t stop =
        written ? std::min(end, it->first + it->second.length)
                : (it == extents_.end() ? end : std::min(end, it->first));
    const size_t piece = static_cast<size_t>(stop - at);
    char* place = out + (at - offset);
    const bool read = written
                          ? ReadExtent(it->second, at - it->first, place, piece)
                          : ReadUnwritten(at, place, piece);
    if (!read) return false;
    if (written) ++it;
    at = stop;
  }
  *got = static_cast<size_t>(end - offset);
  NoteRead(offset, data, *got);
  return true;
}

// Remembers a read that came whole from the base file's own place.
void OverlayContent::NoteRead(uint64_t offset, const void* data, size_t size) {
  if (size == 0 || offset + size > base_shown_) return;
  const Extents::iterator it = extents_.lower_bound(offset);
  if (it != extents_.end() && it->first < offset + size) return;
  if (it != extents_.begin() &&
      std::prev(it)->first + std::prev(it)->second.length > offset) {
    return;
  }
  last_read_data_ = data;
  last_read_size_ = size;
  last_read_offset_ = offset;
}

// A file rebuilt in place moves its bytes by reading them and writing the
// same buffer elsewhere. Such a write, once checked against the base file,
// is kept as a reference to the base bytes: nothing is stored, and a 1 GiB
// archive moved this way costs no memory and no scratch space.
bool OverlayContent::WritesBackTheLastRead(const void* data, size_t size) {
  if (data != last_read_data_ || size != last_read_size_) return false;
  check_buffer_.resize(size);
  size_t got = 0;
  return base_->file->ReadAt(last_read_offset_, check_buffer_.data(), size,
                             &got) &&
         got == size && std::memcmp(check_buffer_.data(), data, size) == 0;
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
void OverlayContent::InsertBaseReference(uint64_t offset, size_t size,
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
  if (end < offset) return false;
  if (WritesBackTheLastRead(data, size)) {
    Punch(offset, end);
    InsertBaseReference(offset, size, last_read_offset_);
  } else if (!Insert(offset, data, size)) {
    return false;
  }
  last_read_data_ = nullptr;
  length_ = std::max(length_, end);
  return true;
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
  Extents::const_iterator it = extents_.upper_bound(offset);
  if (it != extents_.begin() &&
      std::prev(it)->first + std::prev(it)->second.length > offset) {
    --it;
  }
  for (uint64_t at = offset; at < end;) {
    const uint64_t wanted = original_offset + (at - offset);
    const bool written = it != extents_.end() && it->first <= at;
    if (written) {
      const Extent& extent = it->second;
      if (extent.bytes || extent.from + (at - it->first) != wanted) {
        return false;
      }
      at = it->first + extent.length;
      ++it;
    } else {
      const uint64_t stop = it == extents_.end() ? end : it->first;
      if (at != wanted || std::min(stop, end) > base_shown_) return false;
      at = stop;
    }
  }
  return true;
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
