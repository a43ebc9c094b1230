// Whole log texts as tests expect them, so that a test states only the
// lines of the commands it runs.
#pragma once

#include <string>
#include <vector>

namespace quarn {

/// The lines joined, each followed by CR LF.
std::string CrLfLines(const std::vector<std::string>& lines);

/// The log of a single-mod run with game folder `game` chosen: the game
/// path line, `body`, then the closing banner of success or failure.
std::string SingleModLog(const std::string& game,
                         const std::vector<std::string>& body, bool succeeded);

}  // namespace quarn
