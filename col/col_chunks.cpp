#include "col/col_chunks.h"

#include <cstdint>

namespace quarn {
namespace {

constexpr size_t kHeaderSize = 8;  // "COLL" and the size field
const char kMagic[] = "COLL";
constexpr size_t kMagicSize = 4;

uint32_t U32At(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) {
    value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  }
  return value;
}

// A name field without a NUL still ends with the field, never in the body.
std::string NameIn(const std::string& bytes, size_t field_at) {
  const std::string field = bytes.substr(field_at, kColNameFieldSize);
  return field.substr(0, field.find('\0'));
}

// The bytes of the chunk at `at`, header included, or 0 when its header is
// cut off or its size cannot be right. Sizes are summed in 64 bits: a size
// that would wrap a 32-bit position back to or before the chunk's start
// reaches past the end instead.
uint64_t ChunkLength(const std::string& bytes, size_t at, size_t left) {
  if (left < kHeaderSize) return 0;
  const uint64_t length = kHeaderSize + uint64_t{U32At(bytes, at + kMagicSize)};
  if (length < kHeaderSize + kColNameFieldSize || length > left) return 0;
  return length;
}

}  // namespace

ColChunksEnd ReadColChunks(const std::string& bytes,
                           std::vector<ColChunk>* chunks) {
  chunks->clear();
  size_t at = 0;
  while (at < bytes.size()) {
    const size_t left = bytes.size() - at;
    if (left < kMagicSize || bytes.compare(at, kMagicSize, kMagic) != 0) {
      return ColChunksEnd::kNotColFile;
    }
    const uint64_t length = ChunkLength(bytes, at, left);
    if (length == 0) {
      chunks->clear();
      return ColChunksEnd::kCorrupt;
    }
    chunks->push_back({NameIn(bytes, at + kHeaderSize),
                       bytes.substr(at, static_cast<size_t>(length))});
    at += static_cast<size_t>(length);
  }
  return ColChunksEnd::kEndOfFile;
}

}  // namespace quarn
