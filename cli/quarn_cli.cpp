#include "cli/quarn_cli.h"

#include <memory>

#include "cli/command_line.h"
#include "cli/dry_run.h"
#include "cli/stream_log_window.h"
#include "platform/existence.h"
#include "script/install_context.h"
#include "script/install_log.h"
#include "script/runner.h"
#include "text/ascii.h"

namespace quarn {
namespace {

const char kVersionText[] = "quarn (Quarn Installer) 1.1\n";

int UsageError(FILE* err, const std::string& problem) {
  fprintf(err, "quarn: %s\n%s", problem.c_str(), UsageText().c_str());
  return kExitUsage;
}

int ExitStatusOf(RunState state) {
  switch (state) {
    case RunState::Done:
      return kExitAllDone;
    case RunState::Aborted:
      return kExitAborted;
    case RunState::Running:
      break;
  }
  return kExitFailed;
}

// The installer folder, as the window program takes it from its current
// folder: absolute, ending in a backslash.
bool ResolveInstallerDir(FileSystem& fs, const CommandLine& line,
                         std::string* dir, std::string* problem) {
  const std::string folder = line.installer_dir.empty()
                                 ? fs.CurrentFolder()
                                 : fs.AbsolutePath(line.installer_dir);
  *dir = WithTrailingBackslash(folder);
  if (dir->size() > kInstallerDirCapacity) {
    *problem = "the installer folder's path is longer than " +
               std::to_string(kInstallerDirCapacity) + " characters";
    return false;
  }
  const uint32_t attributes = fs.AttributesOf(folder);
  if (attributes == kNoSuchFile || (attributes & kAttrDirectory) == 0) {
    *problem = "installer folder not found: " + folder;
    return false;
  }
  return true;
}

// The game folder must hold the game's program, as the window's "&Ok"
// requires. A longer path than the run can hold would silently name
// another folder, so it is refused.
bool ResolveGameDir(FileSystem& fs, const CommandLine& line,
                    std::string* chosen, std::string* problem) {
  if (line.scripted) {
    *chosen = kScriptedPath;
    return true;
  }
  *chosen = WithTrailingBackslash(fs.AbsolutePath(line.game_dir));
  if (chosen->size() > kGamePathCapacity) {
    *problem = "the game folder's path is longer than " +
               std::to_string(kGamePathCapacity) + " characters";
    return false;
  }
  if (!IsOrdinaryFile(fs, *chosen + "gta-vc.exe")) {
    *problem = "not a game folder (no gta-vc.exe): " + *chosen;
    return false;
  }
  return true;
}

int Install(const CommandLine& line, FileSystem& fs, FILE* out, FILE* err) {
  std::string installer_dir, chosen, problem;
  if (!ResolveInstallerDir(fs, line, &installer_dir, &problem) ||
      !ResolveGameDir(fs, line, &chosen, &problem)) {
    return UsageError(err, problem);
  }
  // The window program runs with its own folder as the current one; relative
  // paths in scripts mean the same here.
  fs.ChangeFolder(installer_dir);
  StreamLogWindow window(out);
  std::unique_ptr<InstallLog> log =
      InstallLog::Create(fs, installer_dir, &window);
  if (!log) {
    fprintf(err, "quarn: Can't create log file\n");
    return kExitFailed;
  }
  InstallContext ctx(fs, *log);
  ctx.InstallerDir = installer_dir;
  ctx.ChosenPath = chosen;
  ctx.DumpObjectIds = line.dump_ids;
  RunInstallation(ctx);
  return ExitStatusOf(ctx.RunState);
}

}  // namespace

int RunQuarn(const std::vector<std::string>& args, FileSystem& fs, FILE* out,
             FILE* err) {
  CommandLine line;
  std::string problem;
  if (!ParseCommandLine(args, &line, &problem)) return UsageError(err, problem);
  switch (line.action) {
    case CommandLine::Action::kHelp:
      fputs(UsageText().c_str(), out);
      return kExitAllDone;
    case CommandLine::Action::kVersion:
      fputs(kVersionText, out);
      return kExitAllDone;
    case CommandLine::Action::kInstall:
      break;
  }
  if (line.dry_run) {
    return RunDry(fs, err, [&](FileSystem& overlay) {
      return Install(line, overlay, out, err);
    });
  }
  return Install(line, fs, out, err);
}

}  // namespace quarn
