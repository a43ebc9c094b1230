// What the small benchmarks share: their numeric arguments, a scratch
// folder, and the figures of repeated runs.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quarn {

/// argv[index] as a number, or `fallback` when there are fewer arguments.
int ArgumentOr(int argc, char** argv, int index, int fallback);

/// A folder of its own under the system's temporary folder, named after
/// `prefix`; removed, with all it holds, when this goes.
class BenchFolder {
 public:
  explicit BenchFolder(const std::string& prefix);
  ~BenchFolder();
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

/// The middle of `values` (not empty) once sorted; the upper of the two
/// middle ones for an even count.
double Median(std::vector<double> values);

/// "N runs: min X ms, median Y ms, max Z ms" of `milliseconds` (not empty).
std::string RunFigures(std::vector<double> milliseconds);

}  // namespace quarn
