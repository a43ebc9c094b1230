// A tiny deterministic number source, so that a seed gives the same game on
// every platform and every run (std:: distributions differ between
// standard libraries).
#pragma once

#include <cstdint>

namespace quarn {

/// The splitmix64 sequence: fast, well mixed, identical everywhere.
class SampleRandom {
 public:
  /// Starts the sequence that `seed` names.
  explicit SampleRandom(uint64_t seed) : state_(seed) {}

  /// The next 64-bit number of the sequence.
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  /// A number from `low` to `high`, both included (`low` <= `high`).
  int Between(int low, int high) {
    const uint64_t span = static_cast<uint64_t>(high - low) + 1;
    return low + static_cast<int>(Next() % span);
  }

 private:
  uint64_t state_;
};

}  // namespace quarn
