// Model archives (gta3.img) and their directories (gta3.dir) for tests and
// benchmarks: entries back to back from sector 0, in directory order, the
// archive ending exactly at the end of the last entry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quarn {

/// Bytes per archive sector.
constexpr uint32_t kImgSectorBytes = 2048;

/// One entry of a hand-made archive.
struct SampleImgEntry {
  std::string name;      ///< stored NUL-padded; keep it to 23 characters
  std::string contents;  ///< the entry's bytes; zeros fill its last sector
  uint32_t sectors = 0;  ///< at least this many sectors (zeros after contents)
};

/// Writes `models_dir`/gta3.img and gta3.dir (native paths) for `entries`
/// in their order: each takes max(sectors, contents rounded up to whole
/// sectors) sectors, and its record holds offset, size and the name field
/// (the name, then NULs; a name of 24 or more characters fills the field
/// without a NUL). False with `*error` set when a file cannot be written.
bool WriteImgArchive(const std::string& models_dir,
                     const std::vector<SampleImgEntry>& entries,
                     std::string* error);

/// One entry of a generated archive: its name and length in sectors.
struct GeneratedImgEntry {
  std::string name;
  uint32_t sectors = 0;
};

/// `count` unique entry names (SampleArchiveName with `shift`) with lengths
/// adding up to `total_bytes` / 2,048 sectors (at least one per entry);
/// textures get larger shares, and the lengths vary with `seed`.
std::vector<GeneratedImgEntry> PlanGeneratedImg(int count, uint64_t total_bytes,
                                                uint64_t seed, int shift);

/// Fills the 2,048 bytes at `out` with sector `sector` of generated entry
/// number `index` named `name`: the name field (24 bytes, NUL-padded), the
/// index and the sector as 32-bit little-endian numbers, then one byte value
/// that depends on both. Cheap, and every sector tells where it belongs.
void FillGeneratedSector(int index, const std::string& name, uint32_t sector,
                         char* out);

/// The whole content of generated entry `index` (as FillGeneratedSector
/// makes it), for comparing an entry after it has been moved.
std::string GeneratedEntryBytes(int index, const GeneratedImgEntry& entry);

/// Writes `models_dir`/gta3.img and gta3.dir with `entries` back to back,
/// each filled by FillGeneratedSector, in large blocks (a 1 GiB archive is
/// limited by the disk, not by this code).
bool WriteGeneratedImg(const std::string& models_dir,
                       const std::vector<GeneratedImgEntry>& entries,
                       std::string* error);

}  // namespace quarn
