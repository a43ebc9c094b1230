#include "script/command.h"

namespace quarn {

CommandResult FailRun(InstallContext& ctx) {
  // The state stays Running, which is what makes the banner say "failed".
  (void)ctx;
  return CommandResult::kEndRun;
}

CommandResult Fail(InstallContext& ctx, const std::string& message) {
  ctx.Log.LogLine(message);
  return FailRun(ctx);
}

std::string ArgumentAfter(const InstallContext& ctx, size_t keyword_length) {
  return ctx.ScriptLine.size() > keyword_length
             ? ctx.ScriptLine.substr(keyword_length)
             : std::string();
}

}  // namespace quarn
