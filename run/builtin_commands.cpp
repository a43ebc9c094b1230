#include "run/builtin_commands.h"

namespace quarn {

CommandResult RunTerminate(InstallContext& ctx, const Command&) {
  ctx.RunState = RunState::Aborted;
  return CommandResult::kEndRun;
}

CommandResult RunCls(InstallContext& ctx, const Command&) {
  ctx.Log.ClearWindow();
  return CommandResult::kContinue;
}

CommandResult RunPrintBlank(InstallContext& ctx, const Command&) {
  ctx.Log.LogLine(" ");
  return CommandResult::kContinue;
}

CommandResult RunPrintText(InstallContext& ctx, const Command& command) {
  ctx.Log.LogLine(command.argument);
  return CommandResult::kContinue;
}

}  // namespace quarn
