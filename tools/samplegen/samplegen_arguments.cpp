#include "tools/samplegen/samplegen_arguments.h"

#include <cstdint>

namespace quarn {
namespace {

// A whole decimal number from 0 to 4294967295, nothing else.
bool ReadCount(const std::string& text, uint64_t* value) {
  if (text.empty() || text.size() > 10) return false;
  *value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    *value = *value * 10 + static_cast<uint64_t>(c - '0');
  }
  return *value <= 0xFFFFFFFFull;
}

std::string ReadOption(const std::string& name, uint64_t value,
                       SampleGameOptions* options) {
  if (name == "--img-entries") {
    options->img_entries = static_cast<int>(value);
  } else if (name == "--img-megabytes") {
    options->img_bytes = value << 20;
  } else if (name == "--ide-files") {
    options->ide_files = static_cast<int>(value);
  } else if (name == "--ide-definitions") {
    options->ide_definitions = static_cast<int>(value);
  } else if (name == "--seed") {
    options->seed = value;
  } else {
    return "unknown option " + name;
  }
  return "";
}

}  // namespace

std::string SamplegenUsage() {
  return "usage: quarn-samplegen game DIR [options]   write a sample game\n"
         "       quarn-samplegen mod DIR [options]    write the sample mod "
         "for the game\n"
         "                                            the same options make\n"
         "       quarn-samplegen catalogue DIR [options]\n"
         "                                            write an installer "
         "folder of\n"
         "                                            mods X1 (the sample "
         "mod), X2,\n"
         "                                            X3 (unticked), "
         "x10_Last\n"
         "       quarn-samplegen --help\n"
         "options:\n"
         "  --img-entries N       entries of models\\gta3.img (default 48)\n"
         "  --img-megabytes M     archive size in MiB (default: 384 KiB)\n"
         "  --ide-files F         map IDE files named in gta_vc.dat "
         "(default 5)\n"
         "  --ide-definitions D   object definitions in them (default 150)\n"
         "  --seed S              varies names, sizes and IDs (default 1)\n"
         "  --no-backup           leave out data\\backup and models\\backup\n";
}

std::string ReadSamplegenArguments(const std::vector<std::string>& args,
                                   SamplegenRequest* request) {
  *request = SamplegenRequest();
  if (args.size() == 1 && args[0] == "--help") return "";
  if (args.size() < 2) {
    return "a kind (game, mod or catalogue) and a folder are needed";
  }
  if (args[0] == "game") {
    request->kind = SamplegenRequest::Kind::kGame;
  } else if (args[0] == "mod") {
    request->kind = SamplegenRequest::Kind::kMod;
  } else if (args[0] == "catalogue") {
    request->kind = SamplegenRequest::Kind::kCatalogue;
  } else {
    return "unknown kind " + args[0] + " (game, mod or catalogue)";
  }
  request->dir = args[1];
  if (request->dir.empty()) return "the folder must not be empty";
  for (size_t i = 2; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (name == "--no-backup") {
      request->options.backups = false;
      continue;
    }
    if (name.rfind("--", 0) != 0) return "unexpected argument " + name;
    if (i + 1 == args.size()) return name + " needs a number";
    uint64_t value = 0;
    if (!ReadCount(args[++i], &value)) {
      return name + " needs a whole number from 0 to 4294967295, not '" +
             args[i] + "'";
    }
    const std::string problem = ReadOption(name, value, &request->options);
    if (!problem.empty()) return problem;
  }
  return CheckSampleGameOptions(request->options);
}

}  // namespace quarn
