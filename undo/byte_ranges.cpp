#include "undo/byte_ranges.h"

#include <algorithm>

namespace quarn {

void ByteRanges::Add(uint64_t begin, uint64_t end) {
  if (begin >= end) return;
  auto it = spans_.upper_bound(begin);
  if (it != spans_.begin() && std::prev(it)->second >= begin) --it;
  while (it != spans_.end() && it->first <= end) {
    begin = std::min(begin, it->first);
    end = std::max(end, it->second);
    it = spans_.erase(it);
  }
  spans_[begin] = end;
}

void ByteRanges::Remove(uint64_t begin, uint64_t end) {
  if (begin >= end) return;
  auto it = spans_.upper_bound(begin);
  if (it != spans_.begin() && std::prev(it)->second > begin) --it;
  std::vector<ByteRange> kept;
  while (it != spans_.end() && it->first < end) {
    if (it->first < begin) kept.push_back({it->first, begin});
    if (it->second > end) kept.push_back({end, it->second});
    it = spans_.erase(it);
  }
  for (const ByteRange& range : kept) spans_[range.begin] = range.end;
}

std::vector<ByteRange> ByteRanges::Missing(uint64_t begin, uint64_t end) const {
  std::vector<ByteRange> missing;
  auto it = spans_.upper_bound(begin);
  if (it != spans_.begin() && std::prev(it)->second > begin) --it;
  uint64_t at = begin;
  for (; it != spans_.end() && it->first < end && at < end; ++it) {
    if (it->first > at) missing.push_back({at, it->first});
    at = std::max(at, it->second);
  }
  if (at < end) missing.push_back({at, end});
  return missing;
}

std::vector<ByteRange> ByteRanges::Ranges() const {
  std::vector<ByteRange> ranges;
  for (const auto& span : spans_) ranges.push_back({span.first, span.second});
  return ranges;
}

}  // namespace quarn
