// How long `quarn check` takes: the whole game read as the stock game loads
// it. Checks a generated game of the stock game's size, or with --game an
// existing game folder (the real data: ../shared/realdata/vc). Reads only.
//
//   game_check_bench [repetitions]
//   game_check_bench --game DIR [repetitions]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "gamecheck/game_check.h"
#include "platform/file_system.h"
#include "tools/bench/bench_basics.h"
#include "tools/samplegen/sample_game.h"

namespace {

// Times `repetitions` checks of `game` (engine form, ending in a backslash)
// and prints the figures; the process's exit status.
int Measure(quarn::FileSystem& files, const std::string& game,
            int repetitions) {
  std::vector<double> times;
  quarn::CheckFindings findings;
  for (int i = 0; i < repetitions; ++i) {
    const auto start = std::chrono::steady_clock::now();
    findings = quarn::CheckGame(files, game, quarn::CheckLimits());
    const auto stop = std::chrono::steady_clock::now();
    times.push_back(
        std::chrono::duration<double, std::milli>(stop - start).count());
  }
  std::printf("game check: %zu problems, %lld buildings, %lld dummies, %s\n",
              findings.problems.size(),
              static_cast<long long>(findings.UseOf(quarn::Limit::kBuildings)),
              static_cast<long long>(findings.UseOf(quarn::Limit::kDummies)),
              quarn::RunFigures(times).c_str());
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
  quarn::SampleGameOptions options;
  options.ide_files = 30;
  options.ide_definitions = 3000;
  options.img_entries = 6000;
  options.img_bytes = 6000 * 2048;
  options.backups = false;
  quarn::BenchFolder folder("quarn-check-bench-");
  std::string error;
  if (!quarn::WriteSampleGame(folder.path().string(), options, &error)) {
    std::fprintf(stderr, "game_check_bench: %s\n", error.c_str());
    return 1;
  }
  return Measure(*files, files->AbsolutePath(folder.path().string()) + "\\",
                 std::max(1, quarn::ArgumentOr(argc, argv, 1, 15)));
}
