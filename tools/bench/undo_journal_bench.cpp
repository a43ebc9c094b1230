// What the undo journal costs on the full-size archive (6,000 entries,
// 1 GiB; an early entry deleted so that nearly everything moves, a few
// files added): the rebuild with and without the journal, the journal's
// size against what it must hold, and undo's own time. Each step runs in a
// child process of its own on a game whose data was synced first, and is
// timed twice: until it returns (the page cache takes the writes) and until
// sync() has put everything on the disk.
//
// Usage: undo_journal_bench [work folder]   (default: the current folder)
//
// It needs sync(), so it measures on Linux only; the Windows build of it
// just says so.
#ifdef _WIN32
#include <cstdio>

int main() {
  std::puts("undo_journal_bench measures on Linux only.");
  return 0;
}
#else
#include <unistd.h>

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "tools/bench/bench_basics.h"
#include "tools/bench/full_size_archive.h"
#include "undo/content_hash.h"
#include "undo/journal_folder.h"
#include "undo/journal_undo.h"
#include "undo/journaling_file_system.h"
#include "undo/local_time.h"

namespace quarn {
namespace {

namespace stdfs = std::filesystem;

constexpr int kRounds = 5;

std::string GameOf(FileSystem& fs, const std::string& work) {
  return fs.AbsolutePath(work) + "\\game\\";
}

// Prints "seconds flushed-seconds" of `step` and sync() after it.
int Timed(bool (*step)(FileSystem&, const std::string&, double*),
          const std::string& work) {
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  double seconds = 0;
  if (!step(*fs, work, &seconds)) return 1;
  const auto sync_start = std::chrono::steady_clock::now();
  sync();
  std::printf("%.3f %.3f\n", seconds, seconds + SecondsSince(sync_start));
  return 0;
}

bool PlainRebuild(FileSystem& fs, const std::string& work, double* seconds) {
  std::string log;
  if (RebuildBenchArchive(fs, work, seconds, &log)) return true;
  std::fprintf(stderr, "rebuild failed:\n%s\n", log.c_str());
  return false;
}

// As a journaled run makes it: the game's lock and checks, an entry opened
// by the first change and ended with the fingerprints. Opening the archive
// is left out of the time, as for the plain rebuild.
bool JournaledRebuild(FileSystem& fs, const std::string& work,
                      double* seconds) {
  auto start = std::chrono::steady_clock::now();
  JournalingFileSystem journal(fs, LocalTimeNow);
  const std::string game = GameOf(fs, work);
  journal.FollowGameFolder([&game] { return game; });
  if (journal.OpenGame(game, nullptr) != JournalRefusal::kNone) {
    std::fprintf(stderr, "cannot open the game's journal\n");
    return false;
  }
  journal.BeginMod({GameOf(fs, work), "X1", "bench"});
  const double opening = SecondsSince(start);
  double rebuild = 0;
  if (!PlainRebuild(journal, work, &rebuild)) return false;
  start = std::chrono::steady_clock::now();
  if (!journal.EndMod(EntryEnd::kFinished) || !journal.Finish()) return false;
  *seconds = opening + rebuild + SecondsSince(start);
  return true;
}

bool UndoEverything(FileSystem& fs, const std::string& work, double* seconds) {
  const auto start = std::chrono::steady_clock::now();
  const std::string game = GameOf(fs, work);
  const std::vector<JournalEntry> entries = ListJournalEntries(fs, game);
  std::vector<UndonePath> undone;
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
    std::string problem;
    if (!UndoEntry(fs, game, *entry, &undone, &problem)) {
      std::fprintf(stderr, "undo failed: %s\n", problem.c_str());
      return false;
    }
  }
  *seconds = SecondsSince(start);
  return !entries.empty();
}

bool RunChild(const char* program, const char* mode, const stdfs::path& work,
              double* seconds, double* flushed) {
  sync();
  const std::string command =
      std::string("'") + program + "' " + mode + " '" + work.string() + "'";
  FILE* child = popen(command.c_str(), "r");
  const bool parsed =
      child != nullptr && std::fscanf(child, "%lf %lf", seconds, flushed) == 2;
  return child != nullptr && pclose(child) == 0 && parsed;
}

uint64_t ArchiveHash(FileSystem& fs, const stdfs::path& models) {
  std::unique_ptr<File> file =
      fs.Open(fs.AbsolutePath((models / "gta3.img").string()), OpenMode::kRead,
              nullptr);
  uint64_t length = 0, hash = 0;
  std::vector<uint8_t> buffer;
  if (!file || !file->Length(&length) ||
      !HashFileRange(*file, 0, length, &buffer, &hash)) {
    return 0;
  }
  return hash ^ length;
}

int Benchmark(const char* program, const stdfs::path& base) {
  const stdfs::path work = base / "undo-journal-bench";
  std::error_code error;
  stdfs::remove_all(work, error);
  std::string message;
  std::printf("generating %d entries, %" PRIu64 " MiB...\n", kBenchEntries,
              kBenchArchiveBytes >> 20);
  std::vector<GeneratedImgEntry> entries;
  uint64_t copied = 0;
  if (!WriteBenchGame(work, &entries, &copied, &message)) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return 1;
  }
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  const stdfs::path models = work / "game" / "models";
  const std::string game = GameOf(*fs, work.string());
  // Each round times the journaled rebuild, undoes it and times the plain
  // one on the same archive; the plain one leaves the next round's archive
  // (another early entry deleted, the added files replaced).
  std::vector<double> journaled(kRounds), journaled_flushed(kRounds);
  std::vector<double> plain(kRounds), plain_flushed(kRounds);
  std::vector<double> undo(kRounds), undo_flushed(kRounds);
  uint64_t journal_bytes = 0;
  bool restored = true;
  for (int round = 0; round < kRounds; ++round) {
    const uint64_t before = ArchiveHash(*fs, models);
    if (!RunChild(program, "--journaled", work, &journaled[round],
                  &journaled_flushed[round])) {
      std::fprintf(stderr, "the journaled rebuild did not complete\n");
      return 1;
    }
    if (round == 0) journal_bytes = JournalEntryBytes(*fs, game, 1);
    if (!RunChild(program, "--undo", work, &undo[round],
                  &undo_flushed[round])) {
      std::fprintf(stderr, "the undo did not complete\n");
      return 1;
    }
    restored = restored && ArchiveHash(*fs, models) == before;
    if (!RunChild(program, "--plain", work, &plain[round],
                  &plain_flushed[round])) {
      std::fprintf(stderr, "the plain rebuild did not complete\n");
      return 1;
    }
  }
  stdfs::remove_all(work, error);

  const uint64_t removed =
      uint64_t{entries[kBenchDeletedEntry].sectors} * kImgSectorBytes;
  const uint64_t directory = uint64_t{kBenchEntries} * 32;
  const uint64_t allowance = removed + directory + (uint64_t{1} << 20);
  std::printf("bytes moved or added: %.1f MiB; medians of %d rounds\n",
              copied / 1048576.0, kRounds);
  for (int round = 0; round < kRounds; ++round) {
    std::printf(
        "  round %d: journaled %.3f s, plain %.3f s (on disk %.3f, "
        "%.3f)\n",
        round + 1, journaled[round], plain[round], journaled_flushed[round],
        plain_flushed[round]);
  }
  const double j = Median(journaled), p = Median(plain);
  const double jf = Median(journaled_flushed), pf = Median(plain_flushed);
  std::printf(
      "until it returns:  journaled %.3f s   plain %.3f s   ratio %.2f\n", j, p,
      j / p);
  std::printf(
      "until on disk:     journaled %.3f s   plain %.3f s   ratio %.2f\n", jf,
      pf, jf / pf);
  std::printf("journal of round 1: %" PRIu64 " bytes; allowed %" PRIu64
              " (removed %" PRIu64 " + directory %" PRIu64 " + 1 MiB)\n",
              journal_bytes, allowance, removed, directory);
  std::printf("undo: %.3f s until it returns, %.3f s until on disk\n",
              Median(undo), Median(undo_flushed));
  std::printf("archive after each undo: %s\n",
              restored ? "as before, byte for byte" : "DIFFERENT");
  return restored && journal_bytes <= allowance ? 0 : 1;
}

}  // namespace
}  // namespace quarn

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--journaled") == 0) {
    return quarn::Timed(quarn::JournaledRebuild, argv[2]);
  }
  if (argc == 3 && std::strcmp(argv[1], "--plain") == 0) {
    return quarn::Timed(quarn::PlainRebuild, argv[2]);
  }
  if (argc == 3 && std::strcmp(argv[1], "--undo") == 0) {
    return quarn::Timed(quarn::UndoEverything, argv[2]);
  }
  const std::filesystem::path base = argc > 1 ? std::filesystem::path(argv[1])
                                              : std::filesystem::current_path();
  return quarn::Benchmark(argv[0], base);
}
#endif
