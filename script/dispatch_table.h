// Which handler a cleaned script line goes to.
#pragma once

#include <vector>

#include "script/command.h"

namespace quarn {

/// Whether a keyword must equal the whole line or only begin it.
enum class MatchKind { kWhole, kPrefix };

/// One row of the dispatch table.
struct DispatchEntry {
  const char* keyword;     ///< upper case; prefix keywords end in a blank
  MatchKind match;
  CommandHandler handler;  ///< null while the command is not built yet
};

/// Every keyword in the order the runner tests them.
const std::vector<DispatchEntry>& DispatchTable();

/// True when the upper-cased `line` matches `entry`'s keyword.
bool Matches(const DispatchEntry& entry, const std::string& line);

/// Hands ctx.ScriptLine to the handler of every matching entry, in table
/// order; a line nobody accepts fails the run as an unknown command.
CommandResult DispatchLine(InstallContext& ctx);

}  // namespace quarn
