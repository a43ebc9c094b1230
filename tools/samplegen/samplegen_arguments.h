// The command line of quarn-samplegen, read apart from the program so that
// its usage errors can be tested.
#pragma once

#include <string>
#include <vector>

#include "tools/samplegen/sample_game.h"

namespace quarn {

/// What the command line asks for.
struct SamplegenRequest {
  enum class Kind { kHelp, kGame, kMod, kCatalogue };
  Kind kind = Kind::kHelp;    ///< the help text, a game, the mod or the setup
  std::string dir;            ///< where to write it, as given
  SampleGameOptions options;  ///< the game (for a mod: the game it targets)
};

/// The help text, ending in a line end.
std::string SamplegenUsage();

/// Reads `args` (the arguments after the program name) into `*request`.
/// Returns "" on success, else a one-line description of the usage error.
std::string ReadSamplegenArguments(const std::vector<std::string>& args,
                                   SamplegenRequest* request);

}  // namespace quarn
