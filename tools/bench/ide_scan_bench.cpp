// How long the full scan of a game-sized set of item-definition files takes:
// the work every run pays at its first IDE OPEN. Scans a generated sample
// game, or with --game an existing game folder (as every scan does, it
// clears the attributes of the files it reads; their contents stay).
//
//   ide_scan_bench [repetitions] [files] [definitions]
//   ide_scan_bench --game DIR [repetitions]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "editing/install_log.h"
#include "ide/ide_scan.h"
#include "platform/file_system.h"
#include "run/install_context.h"
#include "tools/bench/bench_basics.h"
#include "tools/samplegen/sample_game.h"

namespace {

using quarn::CommandResult;

// What one scan read.
struct ScanCount {
  size_t files = 0;
  int ids = 0;
};

// One full scan in a fresh run, as the first IDE OPEN makes it; the log
// goes nowhere so that only the scan is measured. Milliseconds, or a
// negative value when the scan failed.
double TimeOneScan(quarn::FileSystem& files, const std::string& game,
                   ScanCount* count) {
  quarn::InstallLog log(nullptr, nullptr);
  quarn::InstallContext ctx(files, log);
  ctx.GamePath = game;
  const auto start = std::chrono::steady_clock::now();
  const CommandResult result = quarn::ScanGameIdeFiles(ctx, ctx);
  const auto stop = std::chrono::steady_clock::now();
  if (result != CommandResult::kContinue) return -1;
  count->files = ctx.ScannedIdeList.Count();
  count->ids = 0;
  for (int id = 0; id <= 65535; ++id) {
    if (ctx.ObjectIds.IsUsed(static_cast<uint16_t>(id))) ++count->ids;
  }
  return std::chrono::duration<double, std::milli>(stop - start).count();
}

// Times `repetitions` full scans of `game` (engine form, ending in a
// backslash) and prints the figures; the process's exit status.
int Measure(quarn::FileSystem& files, const std::string& game,
            int repetitions) {
  std::vector<double> times;
  ScanCount count;
  for (int i = 0; i < repetitions; ++i) {
    const double ms = TimeOneScan(files, game, &count);
    if (ms < 0) {
      std::fprintf(stderr, "ide_scan_bench: the scan of %s failed\n",
                   game.c_str());
      return 1;
    }
    times.push_back(ms);
  }
  std::printf("full IDE scan: %zu files, %d IDs marked, %s\n", count.files,
              count.ids, quarn::RunFigures(times).c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::unique_ptr<quarn::FileSystem> files = quarn::MakeNativeFileSystem();
  if (argc > 2 && std::string(argv[1]) == "--game") {
    const std::string game = files->AbsolutePath(argv[2]) + "\\";
    return Measure(*files, game,
                   std::max(1, quarn::ArgumentOr(argc, argv, 3, 15)));
  }
  const int repetitions = std::max(1, quarn::ArgumentOr(argc, argv, 1, 15));
  quarn::SampleGameOptions options;
  options.ide_files = quarn::ArgumentOr(argc, argv, 2, 20);
  options.ide_definitions = quarn::ArgumentOr(argc, argv, 3, 6000);
  options.img_entries = 0;
  options.img_bytes = 0;
  options.backups = false;

  quarn::BenchFolder folder("quarn-ide-bench-");
  std::string error;
  if (!quarn::WriteSampleGame(folder.path().string(), options, &error)) {
    std::fprintf(stderr, "ide_scan_bench: %s\n", error.c_str());
    return 1;
  }
  return Measure(*files, files->AbsolutePath(folder.path().string()) + "\\",
                 repetitions);
}
