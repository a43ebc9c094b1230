// How long `quarn check` takes: the whole game read as the stock game loads
// it. Checks a generated game of the stock game's size, or with --game an
// existing game folder (the real data: ../shared/realdata/vc). Reads only.
//
//   game_check_bench [repetitions]
//   game_check_bench --game DIR [repetitions]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "gamecheck/game_check.h"
#include "platform/file_system.h"
#include "tools/samplegen/sample_game.h"

namespace {

namespace fs = std::filesystem;

int ArgumentOr(int argc, char** argv, int index, int fallback) {
  return argc > index ? std::atoi(argv[index]) : fallback;
}

// A folder of its own under the system's temporary folder, removed at exit.
class BenchFolder {
 public:
  BenchFolder()
      : path_(fs::temp_directory_path() /
              ("quarn-check-bench-" + std::to_string(std::random_device{}()))) {
  }
  ~BenchFolder() {
    std::error_code error;
    fs::remove_all(path_, error);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

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
  std::sort(times.begin(), times.end());
  std::printf(
      "game check: %zu problems, %lld buildings, %lld dummies, %d runs: "
      "min %.3f ms, median %.3f ms, max %.3f ms\n",
      findings.problems.size(),
      static_cast<long long>(findings.UseOf(quarn::Limit::kBuildings)),
      static_cast<long long>(findings.UseOf(quarn::Limit::kDummies)),
      repetitions, times.front(), times[times.size() / 2], times.back());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::unique_ptr<quarn::FileSystem> files = quarn::MakeNativeFileSystem();
  if (argc > 2 && std::string(argv[1]) == "--game") {
    const std::string game = files->AbsolutePath(argv[2]) + "\\";
    return Measure(*files, game, std::max(1, ArgumentOr(argc, argv, 3, 15)));
  }
  quarn::SampleGameOptions options;
  options.ide_files = 30;
  options.ide_definitions = 3000;
  options.img_entries = 6000;
  options.img_bytes = 6000 * 2048;
  options.backups = false;
  BenchFolder folder;
  std::string error;
  if (!quarn::WriteSampleGame(folder.path().string(), options, &error)) {
    std::fprintf(stderr, "game_check_bench: %s\n", error.c_str());
    return 1;
  }
  return Measure(*files, files->AbsolutePath(folder.path().string()) + "\\",
                 std::max(1, ArgumentOr(argc, argv, 1, 15)));
}
