// quarn-samplegen: writes the sample game, the sample mod or the sample
// catalogue of mods to a folder.

#include <cstdio>
#include <string>
#include <vector>

#include "tools/samplegen/sample_catalogue.h"
#include "tools/samplegen/sample_game.h"
#include "tools/samplegen/sample_mod.h"
#include "tools/samplegen/samplegen_arguments.h"

namespace {

constexpr int kUsageError = 64;

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  quarn::SamplegenRequest request;
  const std::string problem = quarn::ReadSamplegenArguments(args, &request);
  if (!problem.empty()) {
    std::fprintf(stderr, "quarn-samplegen: %s\n%s", problem.c_str(),
                 quarn::SamplegenUsage().c_str());
    return kUsageError;
  }
  if (request.kind == quarn::SamplegenRequest::Kind::kHelp) {
    std::fputs(quarn::SamplegenUsage().c_str(), stdout);
    return 0;
  }
  std::string error;
  bool written = false;
  const char* what = "";
  switch (request.kind) {
    case quarn::SamplegenRequest::Kind::kGame:
      written = quarn::WriteSampleGame(request.dir, request.options, &error);
      what = "game";
      break;
    case quarn::SamplegenRequest::Kind::kMod:
      written = quarn::WriteSampleMod(request.dir, request.options, &error);
      what = "mod";
      break;
    case quarn::SamplegenRequest::Kind::kCatalogue:
      written =
          quarn::WriteSampleCatalogue(request.dir, request.options, &error);
      what = "catalogue";
      break;
    case quarn::SamplegenRequest::Kind::kHelp:
      break;
  }
  if (!written) {
    std::fprintf(stderr, "quarn-samplegen: %s\n", error.c_str());
    return 1;
  }
  std::printf("Wrote the sample %s to %s\n", what, request.dir.c_str());
  return 0;
}
