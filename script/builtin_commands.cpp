#include "script/builtin_commands.h"

namespace quarn {

CommandResult RunTerminate(InstallContext& ctx) {
  ctx.CommandRecognised = true;
  ctx.RunState = RunState::Aborted;
  return CommandResult::kEndRun;
}

CommandResult RunCls(InstallContext& ctx) {
  ctx.CommandRecognised = true;
  ctx.Log.ClearWindow();
  return CommandResult::kContinue;
}

CommandResult RunPrintBlank(InstallContext& ctx) {
  ctx.CommandRecognised = true;
  ctx.Log.LogLine(" ");
  return CommandResult::kContinue;
}

CommandResult RunPrintText(InstallContext& ctx) {
  ctx.CommandRecognised = true;
  ctx.Log.LogLine(ArgumentAfter(ctx, 6));
  return CommandResult::kContinue;
}

}  // namespace quarn
