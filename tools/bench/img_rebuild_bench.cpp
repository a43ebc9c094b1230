// Times the model archive's rebuild on a full-size archive (6,000 entries,
// 1 GiB; an early entry deleted so that nearly everything moves, a few files
// added) against `cp` of the same number of bytes on the same disk, and
// reports the rebuild's peak memory. The rebuild runs in a child process of
// its own, so that the peak belongs to the rebuild and not to the generator.
// Both are timed twice: until they return (the page cache takes the writes)
// and until sync() has put everything on the disk, which is what the disk
// must really do for either.
//
// Usage: img_rebuild_bench [work folder]   (default: the current folder)
//
// It needs `cp`, sync() and getrusage(), so it measures on Linux only; the
// Windows build of it just says so.
#ifdef _WIN32
#include <cstdio>

int main() {
  std::puts("img_rebuild_bench measures on Linux only.");
  return 0;
}
#else
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "tools/bench/full_size_archive.h"
#include "tools/samplegen/img_writer.h"

namespace quarn {
namespace {

namespace stdfs = std::filesystem;

// Opens the archive as its opening command leaves it, deletes one early
// entry, queues the added files, and rebuilds. Prints the seconds until it
// returned and until its data was on disk, and the peak memory in KiB;
// exits non-zero if the rebuild failed.
int RebuildInThisProcess(const std::string& work) {
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  double seconds = 0;
  std::string log;
  if (!RebuildBenchArchive(*fs, work, &seconds, &log)) {
    std::fprintf(stderr, "rebuild failed:\n%s\n", log.c_str());
    return 1;
  }
  const auto sync_start = std::chrono::steady_clock::now();
  sync();
  const double flushed_seconds = seconds + SecondsSince(sync_start);
  rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  std::printf("%.3f %.3f %ld\n", seconds, flushed_seconds, usage.ru_maxrss);
  return 0;
}

bool WriteFilledFile(const stdfs::path& path, uint64_t length) {
  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  const std::string block = BenchPattern(4u << 20, 5);
  bool ok = true;
  for (uint64_t done = 0; ok && done < length; done += block.size()) {
    const size_t piece =
        static_cast<size_t>(std::min<uint64_t>(block.size(), length - done));
    ok = std::fwrite(block.data(), 1, piece, out) == piece;
  }
  return std::fclose(out) == 0 && ok;
}

// The rebuilt archive must hold the entry behind the deleted one at the
// deleted one's place, and the last generated entry right behind the others.
bool SpotCheck(const stdfs::path& models,
               const std::vector<GeneratedImgEntry>& entries) {
  FILE* in = std::fopen((models / "gta3.img").c_str(), "rb");
  if (in == nullptr) return false;
  uint64_t position = 0;
  for (int i = 0; i < kBenchDeletedEntry; ++i) position += entries[i].sectors;
  bool ok = true;
  for (int i = kBenchDeletedEntry + 1; ok && i < kBenchEntries; ++i) {
    if (i == kBenchDeletedEntry + 1 || i == kBenchEntries - 1) {
      const std::string expected = GeneratedEntryBytes(i, entries[i]);
      std::string actual(expected.size(), '\0');
      ok = std::fseek(in, static_cast<long>(position * kImgSectorBytes),
                      SEEK_SET) == 0 &&
           std::fread(&actual[0], 1, actual.size(), in) == actual.size() &&
           actual == expected;
    }
    position += entries[i].sectors;
  }
  std::fclose(in);
  return ok;
}

int Benchmark(const char* program, const stdfs::path& base) {
  const stdfs::path work = base / "img-rebuild-bench";
  std::error_code error;
  stdfs::remove_all(work, error);
  const stdfs::path models = work / "game" / "models";
  std::string message;
  std::printf("generating %d entries, %" PRIu64 " MiB...\n", kBenchEntries,
              kBenchArchiveBytes >> 20);
  std::vector<GeneratedImgEntry> entries;
  uint64_t copied = 0;
  if (!WriteBenchGame(work, &entries, &copied, &message)) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return 1;
  }

  sync();
  const std::string command =
      std::string("'") + program + "' --rebuild '" + work.string() + "'";
  FILE* child = popen(command.c_str(), "r");
  double rebuild_seconds = 0;
  double rebuild_flushed = 0;
  long peak_kib = 0;
  const bool parsed =
      child != nullptr && std::fscanf(child, "%lf %lf %ld", &rebuild_seconds,
                                      &rebuild_flushed, &peak_kib) == 3;
  if (child == nullptr || pclose(child) != 0 || !parsed) {
    std::fprintf(stderr, "the rebuild did not complete\n");
    return 1;
  }
  const bool intact = SpotCheck(models, entries);

  const stdfs::path source = work / "copy-source";
  if (!WriteFilledFile(source, copied)) {
    std::fprintf(stderr, "cannot write %s\n", source.c_str());
    return 1;
  }
  sync();
  const auto start = std::chrono::steady_clock::now();
  const std::string cp =
      "cp '" + source.string() + "' '" + (work / "copy-target").string() + "'";
  if (std::system(cp.c_str()) != 0) {
    std::fprintf(stderr, "cp failed\n");
    return 1;
  }
  const double copy_seconds = SecondsSince(start);
  sync();
  const double copy_flushed = SecondsSince(start);
  stdfs::remove_all(work, error);

  std::printf("bytes moved or added: %" PRIu64 " (%.1f MiB)\n", copied,
              copied / 1048576.0);
  std::printf("until it returns:  rebuild %.3f s   cp %.3f s   ratio %.2f\n",
              rebuild_seconds, copy_seconds, rebuild_seconds / copy_seconds);
  std::printf("until on disk:    rebuild %.3f s   cp %.3f s   ratio %.2f\n",
              rebuild_flushed, copy_flushed, rebuild_flushed / copy_flushed);
  std::printf("rebuild peak memory (ru_maxrss): %.1f MiB\n", peak_kib / 1024.0);
  std::printf("moved entries checked: %s\n", intact ? "intact" : "DAMAGED");
  return intact ? 0 : 1;
}

}  // namespace
}  // namespace quarn

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--rebuild") == 0) {
    return quarn::RebuildInThisProcess(argv[2]);
  }
  const std::filesystem::path base = argc > 1 ? std::filesystem::path(argv[1])
                                              : std::filesystem::current_path();
  return quarn::Benchmark(argv[0], base);
}
#endif
