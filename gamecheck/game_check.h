// The check of a game folder as the stock 1.0 game loads it: will the game
// still start, and what does it drop or replace on the way?
#pragma once

#include <string>

#include "gamecheck/check_findings.h"
#include "gamecheck/check_limits.h"
#include "platform/file_system.h"

namespace quarn {

/// Checks the game in `game` (engine form, ending in a backslash) against
/// `limits`, reading its files through `fs` and changing nothing.
CheckFindings CheckGame(FileSystem& fs, const std::string& game,
                        const CheckLimits& limits);

}  // namespace quarn
