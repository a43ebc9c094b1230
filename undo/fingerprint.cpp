#include "undo/fingerprint.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "undo/content_hash.h"

namespace quarn {
namespace {

constexpr uint64_t kSampleBytes = 64 << 10;
constexpr uint64_t kSampleCount = 64;

// A large file's samples: evenly spread windows, the first and the last
// included.
bool HashSamples(File& file, uint64_t size, uint64_t* hash) {
  StreamHash stream;
  std::vector<uint8_t> buffer;
  const uint64_t span = size - kSampleBytes;
  for (uint64_t n = 0; n < kSampleCount; ++n) {
    const uint64_t at = span / (kSampleCount - 1) * n;
    uint64_t sample = 0;
    if (!HashFileRange(file, at, kSampleBytes, &buffer, &sample)) return false;
    stream.Add(&sample, sizeof sample);
  }
  *hash = stream.Value();
  return true;
}

}  // namespace

Fingerprint TakeFingerprint(FileSystem& fs, const std::string& path,
                            File* open_file) {
  Fingerprint print;
  print.path = path;
  const uint32_t attributes = fs.AttributesOf(path);
  if (attributes == kNoSuchFile) return print;
  print.exists = true;
  print.folder = (attributes & kAttrDirectory) != 0;
  print.attributes = attributes;
  if (print.folder) return print;
  std::unique_ptr<File> opened;
  if (open_file == nullptr) opened = fs.Open(path, OpenMode::kRead, nullptr);
  File* file = open_file != nullptr ? open_file : opened.get();
  // A file that cannot be read has no hash to compare: it reads as changed.
  print.hash = ~uint64_t{0};
  if (!file || !file->Length(&print.size)) return print;
  std::vector<uint8_t> buffer;
  uint64_t hash = 0;
  const bool hashed = print.size <= kWholeHashLimit
                          ? HashFileRange(*file, 0, print.size, &buffer, &hash)
                          : HashSamples(*file, print.size, &hash);
  if (hashed) print.hash = hash;
  return print;
}

}  // namespace quarn
