// Which handler a cleaned script line goes to.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "editing/command.h"
#include "run/install_context.h"

namespace quarn {

/// A command handler: does the work of the line its row matched, logging
/// each outcome, over the whole run.
using CommandHandler = CommandResult (*)(InstallContext& ctx,
                                         const Command& command);

/// Whether a keyword must equal the whole line or only begin it.
enum class MatchKind { kWhole, kPrefix };

/// One row of the dispatch table.
struct DispatchEntry {
  const char* keyword;  ///< upper case; prefix keywords end in a blank
  MatchKind match;
  CommandHandler handler;
  size_t section = 0;  ///< handed on as Command::section
};

/// Every keyword in the order the runner tests them.
const std::vector<DispatchEntry>& DispatchTable();

/// True when the upper-cased `line` matches `entry`'s keyword.
bool Matches(const DispatchEntry& entry, const std::string& line);

/// Hands ctx.ScriptLine to the handler of every matching entry, in table
/// order, marking the line recognised first; a line nobody accepts fails
/// the run as an unknown command.
CommandResult DispatchLine(InstallContext& ctx);

}  // namespace quarn
