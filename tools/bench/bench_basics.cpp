#include "tools/bench/bench_basics.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace quarn {

int ArgumentOr(int argc, char** argv, int index, int fallback) {
  return argc > index ? std::atoi(argv[index]) : fallback;
}

BenchFolder::BenchFolder(const std::string& prefix)
    : path_(std::filesystem::temp_directory_path() /
            (prefix + std::to_string(std::random_device{}()))) {}

BenchFolder::~BenchFolder() {
  std::error_code error;
  std::filesystem::remove_all(path_, error);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::string RunFigures(std::vector<double> milliseconds) {
  char figures[160];
  std::snprintf(figures, sizeof figures,
                "%zu runs: min %.3f ms, median %.3f ms, max %.3f ms",
                milliseconds.size(),
                *std::min_element(milliseconds.begin(), milliseconds.end()),
                Median(milliseconds),
                *std::max_element(milliseconds.begin(), milliseconds.end()));
  return figures;
}

}  // namespace quarn
