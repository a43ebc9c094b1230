// Times `quarn install --dry-run` against the real run of the same install
// on a full-size archive (6,000 entries, 1 GiB; an early entry deleted so
// that nearly everything moves, a few files added), and reports the peak
// memory (max RSS) of each. The dry run goes first, on the untouched game;
// its log must equal the real run's and the archive must be untouched by
// it. Dry runs interrupted with Ctrl-C (SIGINT) half-way must leave the
// temporary folder empty. Last, a dry run that adds a 256 MiB file shows
// that memory stays bounded when written data spills to the scratch file.
// With --baseline, the dry run is also timed against the same dry run of
// another quarn (one built without the per-mod change sets, say): five of
// each, alternating, and the ratio of their medians.
//
// Usage: dry_run_bench [--quarn PROGRAM] [--baseline PROGRAM] [work folder]
//   PROGRAM defaults to the quarn beside this program; the work folder to
//   the current folder.
//
// It needs fork(), wait4() and signals, so it measures on Linux only; the
// Windows build of it just says so.
#ifdef _WIN32
#include <cstdio>

int main() {
  std::puts("dry_run_bench measures on Linux only.");
  return 0;
}
#else
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cinttypes>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tools/bench/bench_basics.h"
#include "tools/bench/full_size_archive.h"
#include "tools/samplegen/img_writer.h"
#include "tools/samplegen/native_output.h"

namespace quarn {
namespace {

namespace stdfs = std::filesystem;

// One finished run of quarn.
struct RunResult {
  int status = -1;  // exit status, or -1 if it did not exit normally
  double seconds = 0;
  long max_rss_kib = 0;
};

std::string ReadNative(const stdfs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Starts quarn with `args`, stdout and stderr going to `out` and `err`, and
// TMPDIR set to `temp`.
pid_t Start(const std::string& quarn, const std::vector<std::string>& args,
            const stdfs::path& out, const stdfs::path& err,
            const stdfs::path& temp) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  setenv("TMPDIR", temp.c_str(), 1);
  const int out_fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int err_fd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (out_fd < 0 || err_fd < 0 || dup2(out_fd, 1) < 0 || dup2(err_fd, 2) < 0) {
    _exit(127);
  }
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(quarn.c_str()));
  for (const std::string& arg : args)
    argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  execv(quarn.c_str(), argv.data());
  _exit(127);
}

RunResult Finish(pid_t pid, std::chrono::steady_clock::time_point start) {
  RunResult result;
  int status = 0;
  rusage usage;
  if (wait4(pid, &status, 0, &usage) == pid) {
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.max_rss_kib = usage.ru_maxrss;
  }
  result.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
          .count();
  return result;
}

RunResult RunQuarn(const std::string& quarn,
                   const std::vector<std::string>& args, const stdfs::path& out,
                   const stdfs::path& err, const stdfs::path& temp) {
  sync();
  const auto start = std::chrono::steady_clock::now();
  return Finish(Start(quarn, args, out, err, temp), start);
}

bool TemporaryFolderEmpty(const stdfs::path& temp) {
  return stdfs::is_empty(temp);
}

// Size and modification time, which any write would change.
std::string Stamp(const stdfs::path& path) {
  struct stat status;
  if (stat(path.c_str(), &status) != 0) return "missing";
  return std::to_string(status.st_size) + " " +
         std::to_string(status.st_mtim.tv_sec) + "." +
         std::to_string(status.st_mtim.tv_nsec);
}

bool MakeGameAndMod(const stdfs::path& work) {
  std::string message;
  const stdfs::path models = work / "game" / "models";
  if (!MakeNativeFolders(models, &message) ||
      !WriteNativeFile(work / "game" / "gta-vc.exe", "exe", &message) ||
      !MakeNativeFolders(work / "mod", &message) ||
      !MakeNativeFolders(work / "tmp", &message)) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return false;
  }
  std::printf("generating %d entries, %" PRIu64 " MiB...\n", kBenchEntries,
              kBenchArchiveBytes >> 20);
  const std::vector<GeneratedImgEntry> entries =
      PlanGeneratedImg(kBenchEntries, kBenchArchiveBytes, 1, 0);
  std::vector<std::string> script = {
      "IMG OPENDEF", "IMG DELETE " + entries[kBenchDeletedEntry].name};
  for (size_t i = 0; i < 4; ++i) {
    if (!WriteNativeFile(
            work / "mod" / kBenchAddedNames[i],
            BenchPattern(kBenchAddedLengths[i], static_cast<int>(i)),
            &message)) {
      std::fprintf(stderr, "%s\n", message.c_str());
      return false;
    }
    script.push_back(std::string("IMG ADD ") + kBenchAddedNames[i]);
  }
  script.push_back("IMG CLOSE");
  if (!WriteGeneratedImg(models.string(), entries, &message) ||
      !WriteNativeTextFile(work / "mod" / "QuarnInstall.txt", script,
                           &message)) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return false;
  }
  return true;
}

// Interrupts a dry run after `after` and reports whether the temporary
// folder and the archive were left as they were.
bool InterruptedDryRunLeavesNothing(const std::string& quarn,
                                    const std::vector<std::string>& args,
                                    const stdfs::path& work,
                                    std::chrono::milliseconds after) {
  const stdfs::path archive = work / "game" / "models" / "gta3.img";
  const std::string before = Stamp(archive);
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = Start(quarn, args, work / "interrupted.out",
                          work / "interrupted.err", work / "tmp");
  std::this_thread::sleep_for(after);
  kill(pid, SIGINT);
  const RunResult result = Finish(pid, start);
  const bool clean =
      TemporaryFolderEmpty(work / "tmp") && Stamp(archive) == before;
  std::printf(
      "dry run interrupted after %.1f s (%s): temporary folder %s, "
      "archive %s\n",
      result.seconds,
      result.status == -1 ? "killed by the signal" : "it had ended",
      TemporaryFolderEmpty(work / "tmp") ? "empty" : "NOT EMPTY",
      Stamp(archive) == before ? "untouched" : "CHANGED");
  return clean;
}

// A dry run that writes far more than the overlay keeps in memory: a
// 256 MiB file added to the archive must be stored, mostly in the scratch
// file. It is interrupted once first. True if memory stayed near the bound
// and nothing was left behind.
bool SpillingDryRun(const std::string& quarn, const stdfs::path& work) {
  std::string message;
  const std::vector<std::string> script = {"IMG OPENDEF", "IMG ADD big.dff",
                                           "IMG CLOSE"};
  if (!WriteNativeFile(work / "big" / "big.dff", BenchPattern(256u << 20, 9),
                       &message) ||
      !WriteNativeTextFile(work / "big" / "QuarnInstall.txt", script,
                           &message)) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return false;
  }
  const std::vector<std::string> dry = {"install",
                                        "--dir",
                                        (work / "big").string(),
                                        "--game",
                                        (work / "game").string(),
                                        "--dry-run"};
  const bool interrupted_clean = InterruptedDryRunLeavesNothing(
      quarn, dry, work, std::chrono::milliseconds(400));
  const RunResult run =
      RunQuarn(quarn, dry, work / "big.out", work / "big.err", work / "tmp");
  const bool temp_empty = TemporaryFolderEmpty(work / "tmp");
  std::printf(
      "dry run adding a 256 MiB file: %.3f s, exit %d, max RSS %.1f "
      "MiB; temporary folder empty: %s\n",
      run.seconds, run.status, run.max_rss_kib / 1024.0,
      temp_empty ? "yes" : "NO");
  // 64 MiB of kept data, plus the program and its copy buffers.
  return interrupted_clean && temp_empty && run.status == 0 &&
         run.max_rss_kib < 100 * 1024;
}

// The median times of five dry runs of `quarn` and of `baseline`, taken in
// turn so that both see the same machine; false if a run failed.
bool CompareWithBaseline(const std::string& quarn, const std::string& baseline,
                         const std::vector<std::string>& dry,
                         const stdfs::path& work) {
  std::vector<double> ours, theirs;
  bool ok = true;
  for (int round = 0; round < 5; ++round) {
    const RunResult mine =
        RunQuarn(quarn, dry, work / "cmp.out", work / "cmp.err", work / "tmp");
    const RunResult base = RunQuarn(baseline, dry, work / "base.out",
                                    work / "base.err", work / "tmp");
    ok = ok && mine.status == 0 && base.status == 0;
    ours.push_back(mine.seconds);
    theirs.push_back(base.seconds);
  }
  const double mine = Median(ours);
  const double base = Median(theirs);
  std::printf(
      "dry run, median of 5: %.3f s; baseline %.3f s; ratio %.3f (target at "
      "most 1.1)\n",
      mine, base, mine / base);
  return ok;
}

int Benchmark(const std::string& quarn, const std::string& baseline,
              const stdfs::path& base) {
  const stdfs::path work = base / "dry-run-bench";
  std::error_code error;
  stdfs::remove_all(work, error);
  if (!MakeGameAndMod(work)) return 1;
  const std::vector<std::string> install = {"install", "--dir",
                                            (work / "mod").string(), "--game",
                                            (work / "game").string()};
  std::vector<std::string> dry = install;
  dry.push_back("--dry-run");
  const stdfs::path archive = work / "game" / "models" / "gta3.img";

  const bool interrupted_clean = InterruptedDryRunLeavesNothing(
      quarn, dry, work, std::chrono::milliseconds(100));
  const bool compared =
      baseline.empty() || CompareWithBaseline(quarn, baseline, dry, work);
  const std::string before = Stamp(archive);
  const RunResult dry_run =
      RunQuarn(quarn, dry, work / "dry.out", work / "dry.err", work / "tmp");
  const bool untouched = Stamp(archive) == before;
  const bool temp_empty = TemporaryFolderEmpty(work / "tmp");
  const RunResult real_run = RunQuarn(quarn, install, work / "real.out",
                                      work / "real.err", work / "tmp");
  const std::string dry_log = ReadNative(work / "dry.out");
  const bool same_log =
      !dry_log.empty() && dry_log == ReadNative(work / "real.out");
  const std::string report = ReadNative(work / "dry.err");
  const bool spilled_well = SpillingDryRun(quarn, work);
  stdfs::remove_all(work, error);

  std::printf("change report of the dry run:\n%s", report.c_str());
  std::printf("real run:  %.3f s, exit %d, max RSS %.1f MiB\n",
              real_run.seconds, real_run.status, real_run.max_rss_kib / 1024.0);
  std::printf("dry run:   %.3f s, exit %d, max RSS %.1f MiB\n", dry_run.seconds,
              dry_run.status, dry_run.max_rss_kib / 1024.0);
  std::printf("time ratio dry / real: %.2f (target at most 2)\n",
              dry_run.seconds / real_run.seconds);
  std::printf(
      "same log: %s; archive untouched by the dry run: %s; "
      "temporary folder empty: %s\n",
      same_log ? "yes" : "NO", untouched ? "yes" : "NO",
      temp_empty ? "yes" : "NO");
  const bool ok = same_log && untouched && temp_empty && interrupted_clean &&
                  spilled_well && compared && dry_run.status == 0 &&
                  real_run.status == 0;
  return ok ? 0 : 1;
}

}  // namespace
}  // namespace quarn

int main(int argc, char** argv) {
  namespace stdfs = std::filesystem;
  std::string quarn =
      (stdfs::absolute(argv[0]).parent_path() / "quarn").string();
  std::string baseline;
  int next = 1;
  while (argc > next + 1 && (std::strcmp(argv[next], "--quarn") == 0 ||
                             std::strcmp(argv[next], "--baseline") == 0)) {
    (std::strcmp(argv[next], "--quarn") == 0 ? quarn : baseline) =
        argv[next + 1];
    next += 2;
  }
  const stdfs::path base =
      argc > next ? stdfs::path(argv[next]) : stdfs::current_path();
  return quarn::Benchmark(quarn, baseline, stdfs::absolute(base));
}
#endif
