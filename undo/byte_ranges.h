// Which stretches of a file the journal already answers for, kept as a set
// of disjoint byte ranges.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

namespace quarn {

/// A byte range [begin, end) of a file.
struct ByteRange {
  uint64_t begin = 0;
  uint64_t end = 0;
};

/// A set of bytes of a file, held as disjoint, merged ranges.
class ByteRanges {
 public:
  /// Adds the bytes [begin, end).
  void Add(uint64_t begin, uint64_t end);

  /// Takes the bytes [begin, end) out.
  void Remove(uint64_t begin, uint64_t end);

  /// The parts of [begin, end) the set does not hold, in order.
  std::vector<ByteRange> Missing(uint64_t begin, uint64_t end) const;

  /// Every range of the set, in order.
  std::vector<ByteRange> Ranges() const;

 private:
  std::map<uint64_t, uint64_t> spans_;  // begin -> end
};

}  // namespace quarn
