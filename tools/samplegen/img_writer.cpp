#include "tools/samplegen/img_writer.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "tools/samplegen/native_output.h"
#include "tools/samplegen/sample_names.h"
#include "tools/samplegen/sample_random.h"

namespace quarn {
namespace fs = std::filesystem;
namespace {

constexpr size_t kNameField = 24;
constexpr size_t kBlockBytes = 4u << 20;

void PutU32(char* out, uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    out[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  }
}

void PutNameField(char* out, const std::string& name) {
  std::memset(out, 0, kNameField);
  std::memcpy(out, name.data(), std::min(name.size(), kNameField));
}

std::string DirectoryRecord(uint32_t offset, uint32_t size,
                            const std::string& name) {
  std::string record(32, '\0');
  PutU32(&record[0], offset);
  PutU32(&record[4], size);
  PutNameField(&record[8], name);
  return record;
}

uint32_t SectorsFor(size_t bytes) {
  return static_cast<uint32_t>((bytes + kImgSectorBytes - 1) / kImgSectorBytes);
}

// An archive file written in large blocks, with one error check at the end.
class BlockWriter {
 public:
  explicit BlockWriter(const fs::path& file)
      : out_(file, std::ios::binary | std::ios::trunc) {
    block_.reserve(kBlockBytes);
  }

  // Room for one more sector at the end of the block, flushed when full.
  char* NextSector() {
    if (block_.size() + kImgSectorBytes > kBlockBytes) Flush();
    block_.resize(block_.size() + kImgSectorBytes);
    return &block_[block_.size() - kImgSectorBytes];
  }

  bool Finish() {
    Flush();
    out_.close();
    return static_cast<bool>(out_);
  }

 private:
  void Flush() {
    out_.write(block_.data(), static_cast<std::streamsize>(block_.size()));
    block_.clear();
  }

  std::ofstream out_;
  std::string block_;
};

bool CheckWritten(bool written, const fs::path& file, std::string* error) {
  if (!written) *error = "cannot write " + file.string();
  return written;
}

// The archive and its directory, entries back to back from sector 0 as a
// rebuild leaves them. The models folder must exist.
class ArchiveFilesWriter {
 public:
  explicit ArchiveFilesWriter(const fs::path& folder)
      : folder_(folder), archive_(folder / "gta3.img") {}

  // Appends an entry of `sectors` sectors; `fill(s, out)` writes sector s.
  template <typename Fill>
  void Add(const std::string& name, uint32_t sectors, Fill fill) {
    for (uint32_t s = 0; s < sectors; ++s) fill(s, archive_.NextSector());
    directory_ += DirectoryRecord(offset_, sectors, name);
    offset_ += sectors;
  }

  bool Finish(std::string* error) {
    return CheckWritten(archive_.Finish(), folder_ / "gta3.img", error) &&
           WriteNativeFile(folder_ / "gta3.dir", directory_, error);
  }

 private:
  fs::path folder_;
  BlockWriter archive_;
  std::string directory_;
  uint32_t offset_ = 0;
};

}  // namespace

bool WriteImgArchive(const std::string& models_dir,
                     const std::vector<SampleImgEntry>& entries,
                     std::string* error) {
  const fs::path folder(models_dir);
  if (!MakeNativeFolders(folder, error)) return false;
  ArchiveFilesWriter files(folder);
  for (const SampleImgEntry& entry : entries) {
    const std::string& contents = entry.contents;
    files.Add(entry.name, std::max(entry.sectors, SectorsFor(contents.size())),
              [&contents](uint32_t s, char* sector) {
                std::memset(sector, 0, kImgSectorBytes);
                const size_t from = static_cast<size_t>(s) * kImgSectorBytes;
                if (from < contents.size()) {
                  std::memcpy(sector, contents.data() + from,
                              std::min<size_t>(kImgSectorBytes,
                                               contents.size() - from));
                }
              });
  }
  return files.Finish(error);
}

std::vector<GeneratedImgEntry> PlanGeneratedImg(int count, uint64_t total_bytes,
                                                uint64_t seed, int shift) {
  SampleRandom random(seed * 6364136223846793005ull + 1442695040888963407ull);
  std::vector<GeneratedImgEntry> entries(count > 0 ? count : 0);
  std::vector<uint64_t> weights(entries.size());
  uint64_t weight_sum = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    entries[i].name = SampleArchiveName(static_cast<int>(i), shift);
    const bool texture = i % 5 == 4;
    weights[i] = texture ? random.Between(4, 24) : random.Between(1, 8);
    weight_sum += weights[i];
  }
  if (entries.empty()) return entries;
  const uint64_t total =
      std::max<uint64_t>(total_bytes / kImgSectorBytes, entries.size());
  const uint64_t extra = total - entries.size();
  uint64_t given = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    const uint64_t share = extra * weights[i] / weight_sum;
    entries[i].sectors = static_cast<uint32_t>(1 + share);
    given += share;
  }
  for (size_t i = 0; given < extra; i = (i + 1) % entries.size(), ++given) {
    ++entries[i].sectors;
  }
  return entries;
}

void FillGeneratedSector(int index, const std::string& name, uint32_t sector,
                         char* out) {
  PutNameField(out, name);
  PutU32(out + kNameField, static_cast<uint32_t>(index));
  PutU32(out + kNameField + 4, sector);
  const int fill = (index * 7 + static_cast<int>(sector) * 13 + 1) & 0xFF;
  std::memset(out + kNameField + 8, fill, kImgSectorBytes - kNameField - 8);
}

std::string GeneratedEntryBytes(int index, const GeneratedImgEntry& entry) {
  std::string bytes(static_cast<size_t>(entry.sectors) * kImgSectorBytes, '\0');
  for (uint32_t s = 0; s < entry.sectors; ++s) {
    FillGeneratedSector(index, entry.name, s,
                        &bytes[static_cast<size_t>(s) * kImgSectorBytes]);
  }
  return bytes;
}

bool WriteGeneratedImg(const std::string& models_dir,
                       const std::vector<GeneratedImgEntry>& entries,
                       std::string* error) {
  const fs::path folder(models_dir);
  if (!MakeNativeFolders(folder, error)) return false;
  ArchiveFilesWriter files(folder);
  for (size_t i = 0; i < entries.size(); ++i) {
    const GeneratedImgEntry& entry = entries[i];
    files.Add(entry.name, entry.sectors, [&](uint32_t s, char* sector) {
      FillGeneratedSector(static_cast<int>(i), entry.name, s, sector);
    });
  }
  return files.Finish(error);
}

}  // namespace quarn
