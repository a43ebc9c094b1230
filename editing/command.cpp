#include "editing/command.h"

namespace quarn {

CommandResult Fail(RunContext& ctx, const std::string& message) {
  // The state stays Running, which is what makes the banner say "failed".
  ctx.Log.LogLine(message);
  return CommandResult::kEndRun;
}

CommandResult FailOnNewLine(RunContext& ctx, const std::string& message) {
  ctx.Log.LogLine(" ");
  return Fail(ctx, message);
}

CommandResult RequireGamePath(RunContext& ctx) {
  if (ctx.GamePath.empty()) return Fail(ctx, "Install path unknown");
  return CommandResult::kContinue;
}

}  // namespace quarn
