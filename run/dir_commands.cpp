#include "run/dir_commands.h"

#include "editing/contained_path.h"
#include "platform/existence.h"
#include "text/ascii.h"

namespace quarn {
CommandResult RunDirCreate(InstallContext& ctx, const Command& command) {
  const std::string folder = command.argument;
  const std::string error = ContainedPathError(folder, "DIR CREATE");
  if (!error.empty()) return Fail(ctx, error);
  // Without a game folder the path would be relative to wherever the
  // process happens to be.
  QUARN_RETURN_IF_ENDED(RequireGamePath(ctx));
  const std::string path = ctx.GamePath + folder;
  if (FolderTestPasses(ctx.Fs, path)) return CommandResult::kContinue;
  ctx.Fs.MakeFolder(path);
  if (!FolderTestPasses(ctx.Fs, path)) {
    return Fail(ctx, "Directory could not be created: " + path);
  }
  return CommandResult::kContinue;
}

CommandResult RunDirSelect(InstallContext& ctx, const Command& command) {
  const std::string folder = command.argument;
  const std::string error = ContainedPathError(folder, "DIR SELECT");
  if (!error.empty()) return Fail(ctx, error);
  const std::string candidate = ctx.ModPath + folder;
  // A cut folder could be another folder of the mod.
  if (WithTrailingBackslash(candidate).size() > kSourceDirCapacity) {
    return Fail(ctx, "Source folder path too long: " + candidate);
  }
  if (!FolderTestPasses(ctx.Fs, candidate)) {
    ctx.Log.LogLine("Installation source folder " + folder + " not found.");
    ctx.Log.LogLine("Expected to find directory: " + candidate);
    return Fail(ctx, "Installation failed.");
  }
  ctx.Log.LogLine("Source dir: " + folder);
  ctx.SourceDir = WithTrailingBackslash(candidate);
  return CommandResult::kContinue;
}

}  // namespace quarn
