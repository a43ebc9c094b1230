// The install the archive benchmarks time: a full-size archive (6,000
// entries, 1 GiB) with an early entry deleted, so that nearly everything
// moves, and a few files added.
#pragma once

#include <cstdint>
#include <string>

namespace quarn {

/// Entries of the generated archive.
inline constexpr int kBenchEntries = 6000;
/// Bytes of the generated archive.
inline constexpr uint64_t kBenchArchiveBytes = uint64_t{1} << 30;
/// The entry deleted, so that every later one moves.
inline constexpr int kBenchDeletedEntry = 1;
/// The files added, and their lengths.
inline constexpr const char* kBenchAddedNames[] = {"bench0.dff", "bench1.dff",
                                                   "bench2.col", "bench3.txd"};
inline constexpr uint64_t kBenchAddedLengths[] = {10u << 20, 1u << 20, 100000,
                                                  5000};

/// `length` bytes that differ with `seed`, for the added files.
inline std::string BenchPattern(uint64_t length, int seed) {
  std::string bytes(length, '\0');
  for (uint64_t i = 0; i < length; ++i) {
    bytes[i] = static_cast<char>((i * 7 + seed * 13 + i / 4096) & 0xff);
  }
  return bytes;
}

}  // namespace quarn
