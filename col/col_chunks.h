// How a collision file is cut into its models: "COLL" chunks back to back,
// each an 8-byte header, a 24-byte name field and a body never looked into.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quarn {

/// Bytes of a chunk's name field.
inline constexpr size_t kColNameFieldSize = 24;

/// One collision model as it lies in a file.
struct ColChunk {
  std::string Name;   ///< the name field up to its first NUL (at most 24)
  std::string Bytes;  ///< the whole chunk, header included, as read
};

/// Where reading a collision file's chunks stopped.
enum class ColChunksEnd {
  kEndOfFile,   ///< every byte belongs to a chunk
  kNotColFile,  ///< a chunk does not begin with "COLL"; those before count
  kCorrupt,     ///< a chunk's size is too small for its name or reaches
                ///< past the end of the file; nothing counts
};

/// The chunks of a collision file's `bytes` in file order, up to the first
/// that does not begin with "COLL" (or fewer than 4 bytes). A chunk whose
/// size field cannot be right makes the whole file corrupt: `*chunks` is
/// then empty. Never reads past the end of `bytes`.
ColChunksEnd ReadColChunks(const std::string& bytes,
                           std::vector<ColChunk>* chunks);

}  // namespace quarn
