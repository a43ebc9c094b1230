// Whole log texts as tests expect them, so that a test states only the
// lines of the commands it runs.
#pragma once

#include <string>
#include <vector>

#include "text/lines.h"

namespace quarn {

/// The closing banner of a run that did all it was asked.
std::string DoneBanner();

/// The closing banner of a run that failed.
std::string FailedBanner();

/// The closing banner of a run that TERMINATE ended.
std::string AbortedBanner();

/// The line a run writes first when the user chose the game folder `game`
/// (which ends in a backslash).
std::string SelectedGameLine(const std::string& game);

/// The log of a single-mod run with game folder `game` chosen: the game
/// path line, `body`, then the closing banner of success or failure.
std::string SingleModLog(const std::string& game,
                         const std::vector<std::string>& body, bool succeeded);

}  // namespace quarn
