// The install the archive benchmarks time: a full-size archive (6,000
// entries, 1 GiB) with an early entry deleted, so that nearly everything
// moves, and a few files added.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "tools/samplegen/img_writer.h"

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

/// Seconds from `start` until now.
double SecondsSince(std::chrono::steady_clock::time_point start);

/// Writes the benchmark's game (`work`/game/models: the archive and its
/// directory, `entries` of it) and the files it adds (`work`/mod). `*copied`
/// gets the bytes the rebuild moves or adds. False with `*error` set.
bool WriteBenchGame(const std::filesystem::path& work,
                    std::vector<GeneratedImgEntry>* entries, uint64_t* copied,
                    std::string* error);

/// Opens the archive of `work`/game through `fs` as its opening command
/// does, deletes kBenchDeletedEntry, queues the added files and rebuilds,
/// timing the rebuild alone into `*seconds`. False, with the log in
/// `*log`, if any step failed.
bool RebuildBenchArchive(FileSystem& fs, const std::string& work,
                         double* seconds, std::string* log);

}  // namespace quarn
