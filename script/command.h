// The contract between the runner and every command handler.
#pragma once

#include <cstddef>
#include <string>

#include "script/install_context.h"

namespace quarn {

/// What a handler tells the runner when it returns.
enum class CommandResult {
  kContinue,  ///< go on with the next line
  kEndRun,    ///< go straight to the end of the run (failure or TERMINATE)
};

/// A command handler: reads ctx.ScriptLine, sets ctx.CommandRecognised once
/// it accepts the line, logs each outcome.
using CommandHandler = CommandResult (*)(InstallContext& ctx);

/// Ends the run as failed without a message of its own.
CommandResult FailRun(InstallContext& ctx);

/// Writes `message` as a line, then ends the run as failed.
CommandResult Fail(InstallContext& ctx, const std::string& message);

/// The script line's text after a keyword of `keyword_length` characters.
std::string ArgumentAfter(const InstallContext& ctx, size_t keyword_length);

}  // namespace quarn
