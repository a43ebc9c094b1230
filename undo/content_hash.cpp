#include "undo/content_hash.h"

#include <algorithm>

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace quarn {

// Bytes read per step while hashing a stretch of a file.
constexpr size_t kHashChunkBytes = size_t{1} << 20;

struct StreamHash::State {
  XXH3_state_t xxh;
};

uint64_t HashBytes(const void* data, size_t size) {
  return XXH3_64bits(data, size);
}

StreamHash::StreamHash() : state_(std::make_unique<State>()) {
  XXH3_64bits_reset(&state_->xxh);
}

StreamHash::~StreamHash() = default;

void StreamHash::Add(const void* data, size_t size) {
  XXH3_64bits_update(&state_->xxh, data, size);
}

uint64_t StreamHash::Value() const { return XXH3_64bits_digest(&state_->xxh); }

bool HashFileRange(File& file, uint64_t offset, uint64_t length,
                   std::vector<uint8_t>* buffer, uint64_t* hash) {
  buffer->resize(static_cast<size_t>(
      std::min<uint64_t>(std::max<uint64_t>(length, 1), kHashChunkBytes)));
  StreamHash stream;
  for (uint64_t done = 0; done < length;) {
    const size_t step =
        static_cast<size_t>(std::min<uint64_t>(length - done, buffer->size()));
    size_t got = 0;
    if (!file.ReadAt(offset + done, buffer->data(), step, &got) ||
        got != step) {
      return false;
    }
    stream.Add(buffer->data(), step);
    done += step;
  }
  *hash = stream.Value();
  return true;
}

}  // namespace quarn
