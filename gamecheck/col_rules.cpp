#include "gamecheck/col_rules.h"

#include <vector>

#include "col/col_chunks.h"

namespace quarn {
namespace {

bool OnlyZerosFrom(const std::string& bytes, size_t from) {
  for (size_t i = from; i < bytes.size(); ++i) {
    if (bytes[i] != 0) return false;
  }
  return true;
}

}  // namespace

void CheckColData(const std::string& file, size_t line,
                  const std::string& bytes, bool padded, LoadedGame* game) {
  std::vector<ColChunk> chunks;
  const ColChunksEnd end = ReadColChunks(bytes, &chunks);
  size_t read = 0;
  for (const ColChunk& chunk : chunks) {
    game->findings.Reach(Limit::kColChunkBytes,
                         static_cast<int64_t>(chunk.Bytes.size()), file, line);
    read += chunk.Bytes.size();
  }
  if (end == ColChunksEnd::kCorrupt) {
    game->findings.Add(file, line, CheckEffect::kCrashes,
                       "a COLL chunk's size reaches past the end of its data",
                       "col-chunks");
  } else if (end == ColChunksEnd::kNotColFile &&
             !(padded && OnlyZerosFrom(bytes, read))) {
    game->findings.Add(file, line, CheckEffect::kCrashes,
                       "bytes after the last COLL chunk that are no chunk",
                       "col-chunks");
  }
}

}  // namespace quarn
