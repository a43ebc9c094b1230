// quarn-samplegen: writes the sample game or the sample mod to a folder.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/samplegen/sample_game.h"
#include "tools/samplegen/sample_mod.h"

namespace {

constexpr int kUsageError = 64;

const char kUsage[] =
    "usage: quarn-samplegen game DIR [options]   write a sample game folder\n"
    "       quarn-samplegen mod DIR [options]    write the sample mod for the\n"
    "                                            game the same options make\n"
    "       quarn-samplegen --help\n"
    "options:\n"
    "  --img-entries N       entries of models\\gta3.img (default 48)\n"
    "  --img-megabytes M     archive size in MiB (default 0.375)\n"
    "  --ide-files F         map IDE files named in gta_vc.dat (default 5)\n"
    "  --ide-definitions D   object definitions in them (default 150)\n"
    "  --seed S              varies names, sizes and IDs (default 1)\n"
    "  --no-backup           leave out data\\backup and models\\backup\n";

int UsageError(const std::string& message) {
  std::fprintf(stderr, "quarn-samplegen: %s\n%s", message.c_str(), kUsage);
  return kUsageError;
}

bool ReadNumber(const char* text, unsigned long long limit,
                unsigned long long* value) {
  if (*text < '0' || *text > '9') return false;
  errno = 0;
  char* end = nullptr;
  *value = std::strtoull(text, &end, 10);
  return errno == 0 && *end == '\0' && *value <= limit;
}

// Reads the options from argv[first] on; an empty result means success.
std::string ReadOptions(int argc, char** argv, int first,
                        quarn::SampleGameOptions* options) {
  for (int i = first; i < argc; ++i) {
    const std::string name = argv[i];
    if (name == "--no-backup") {
      options->backups = false;
      continue;
    }
    const bool known = name == "--img-entries" || name == "--img-megabytes" ||
                       name == "--ide-files" || name == "--ide-definitions" ||
                       name == "--seed";
    if (!known) return "unknown option " + name;
    if (i + 1 == argc) return name + " needs a number";
    unsigned long long value = 0;
    if (!ReadNumber(argv[++i], 0xFFFFFFFFull, &value)) {
      return name + " needs a whole number from 0 to 4294967295, not '" +
             argv[i] + "'";
    }
    if (name == "--img-entries") options->img_entries = static_cast<int>(value);
    if (name == "--img-megabytes") options->img_bytes = value << 20;
    if (name == "--ide-files") options->ide_files = static_cast<int>(value);
    if (name == "--ide-definitions") {
      options->ide_definitions = static_cast<int>(value);
    }
    if (name == "--seed") options->seed = value;
  }
  return "";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc < 3)
    return UsageError("a kind (game or mod) and a folder are needed");
  const std::string kind = argv[1];
  const std::string dir = argv[2];
  if (kind != "game" && kind != "mod")
    return UsageError("unknown kind " + kind);
  quarn::SampleGameOptions options;
  const std::string problem = ReadOptions(argc, argv, 3, &options);
  if (!problem.empty()) return UsageError(problem);
  const std::string invalid = quarn::CheckSampleGameOptions(options);
  if (!invalid.empty()) return UsageError(invalid);

  std::string error;
  const bool written = kind == "game"
                           ? quarn::WriteSampleGame(dir, options, &error)
                           : quarn::WriteSampleMod(dir, options, &error);
  if (!written) {
    std::fprintf(stderr, "quarn-samplegen: %s\n", error.c_str());
    return 1;
  }
  std::printf("Wrote the sample %s to %s\n", kind.c_str(), dir.c_str());
  return 0;
}
