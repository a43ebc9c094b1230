#include "run/install_path_command.h"

#include "platform/existence.h"
#include "text/ascii.h"

namespace quarn {

CommandResult RunInstallPath(InstallContext& ctx, const Command& command) {
  if (!ctx.GamePath.empty()) {
    ctx.Log.LogLine("Game path already set. INSTALL PATH command ignored.");
    return CommandResult::kContinue;
  }
  const std::string folder = command.argument;
  ctx.Log.LogLine("Scripted game path: " + folder);
  // A cut path would name another folder, and every later write would land
  // there.
  if (WithTrailingBackslash(folder).size() > kGamePathCapacity) {
    return Fail(ctx, "Scripted game path too long");
  }
  if (!FolderTestPasses(ctx.Fs, folder)) {
    return Fail(ctx, "Scripted game path not found");
  }
  ctx.GamePath = WithTrailingBackslash(folder);
  return CommandResult::kContinue;
}

}  // namespace quarn
