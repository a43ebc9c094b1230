// The fast hash the undo journal uses to recognise bytes again: moved
// pieces of the archive, and the files as a mod left them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/file_system.h"

namespace quarn {

/// The 64-bit XXH3 hash of `size` bytes at `data`.
uint64_t HashBytes(const void* data, size_t size);

/// An XXH3 hash built from bytes given in parts: the same value as
/// HashBytes of all of them at once.
class StreamHash {
 public:
  StreamHash();
  ~StreamHash();
  StreamHash(const StreamHash&) = delete;
  StreamHash& operator=(const StreamHash&) = delete;

  /// Adds the next `size` bytes.
  void Add(const void* data, size_t size);

  /// The hash of every byte added so far.
  uint64_t Value() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

/// Hashes the `length` bytes of `file` from byte `offset` into `*hash`,
/// reading through `buffer`. False if they cannot all be read (the file is
/// shorter, or a read fails).
bool HashFileRange(File& file, uint64_t offset, uint64_t length,
                   std::vector<uint8_t>* buffer, uint64_t* hash);

}  // namespace quarn
