// The contract between the dispatcher and every command handler.
#pragma once

#include <cstddef>
#include <string>

#include "editing/run_context.h"

namespace quarn {

/// What a handler tells the dispatcher when it returns.
enum class [[nodiscard]] CommandResult{
    kContinue,  ///< go on with the next line
    kEndRun,    ///< go straight to the end of the run (failure or TERMINATE)
};

/// What the dispatcher hands a handler besides the run: the line as its
/// row cut it. The handler has accepted the line when it is called.
struct Command {
  std::string argument;  ///< the text after a prefix keyword, else empty
  size_t section = 0;    ///< the section a row such as "IDE ADD OBJS " names
};

/// The signature of an editor's command handler: the run's own state, the
/// state of the editor it belongs to, and its line as its row cut it.
template <typename State>
using EditorCommand = CommandResult(RunContext& ctx, State& state,
                                    const Command& command);

/// True when `result` ends the run.
inline bool EndsRun(CommandResult result) {
  return result == CommandResult::kEndRun;
}

/// Returns kEndRun from the calling function when `step`, a CommandResult,
/// ends the run: the step that failed has already said why.
#define QUARN_RETURN_IF_ENDED(step)           \
  do {                                        \
    if (::quarn::EndsRun(step)) {             \
      return ::quarn::CommandResult::kEndRun; \
    }                                         \
  } while (false)

/// Writes `message` as a line, then ends the run as failed. The one way a
/// handler fails; a step that fails returns its result for the caller to
/// pass on.
CommandResult Fail(RunContext& ctx, const std::string& message);

/// Ends the line that a LogText began with a blank, then fails the run
/// with `message` on a line of its own.
CommandResult FailOnNewLine(RunContext& ctx, const std::string& message);

/// Fails the run with "Install path unknown" when no game folder is known.
CommandResult RequireGamePath(RunContext& ctx);

}  // namespace quarn
