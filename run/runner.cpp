#include "run/runner.h"

#include <string>
#include <vector>

#include "platform/file_contents.h"
#include "run/dispatch_table.h"
#include "run/line_cleaning.h"
#include "run/object_id_dump.h"
#include "text/ascii.h"
#include "text/lines.h"

namespace quarn {
namespace {

const char kFailureRule[] = "-------------------------------------------";
const char kAbortRule[] = "-----------------------";

bool ReadScript(InstallContext& ctx, std::vector<std::string>* lines) {
  std::string bytes;
  if (!ReadWholeFile(ctx.Fs, ctx.ModPath + kScriptFileName, &bytes)) {
    return false;
  }
  *lines = SplitLines(bytes);
  return true;
}

void SetGamePath(InstallContext& ctx) {
  ctx.GamePath.clear();
  const std::string& chosen = ctx.ChosenPath;
  if (chosen == kScriptedPath || chosen.size() <= 1) return;
  ctx.GamePath = WithTrailingBackslash(CutTo(chosen, kGamePathCapacity));
  ctx.Log.LogLine("Selected game path: " +
                  ctx.GamePath.substr(0, ctx.GamePath.size() - 1));
}

// A stop request from the window ends the run only between commands, so a
// rebuild or an editor's rewrite is never cut in half.
bool StopWasRequested(InstallContext& ctx) {
  if (!ctx.StopRequested) return false;
  ctx.RunState = RunState::Aborted;
  return true;
}

ModOutcome OutcomeOf(CommandResult result, RunState state) {
  if (!EndsRun(result) || state == RunState::Done) {
    return ModOutcome::kFinished;
  }
  return state == RunState::Aborted ? ModOutcome::kAborted
                                    : ModOutcome::kFailed;
}

CommandResult RunScriptLines(InstallContext& ctx,
                             const std::vector<std::string>& lines) {
  for (const std::string& raw : lines) {
    if (StopWasRequested(ctx)) return CommandResult::kEndRun;
    const std::string line = CleanScriptLine(raw);
    if (line.empty()) continue;
    ctx.ScriptLine = line;
    QUARN_RETURN_IF_ENDED(DispatchLine(ctx));
  }
  return CommandResult::kContinue;
}

// One mod's script, told to whoever follows the run mod by mod.
CommandResult RunModScript(InstallContext& ctx, const ModEntry* entry,
                           const std::vector<std::string>& lines) {
  if (ctx.ModStarted) ctx.ModStarted(entry);
  const CommandResult result = RunScriptLines(ctx, lines);
  if (ctx.ModEnded) ctx.ModEnded(OutcomeOf(result, ctx.RunState));
  return result;
}

// A script that cannot be read ends the run with the failure banner: the
// run did not do what was asked, whatever state an earlier script left.
void ReportUnreadableScript(InstallContext& ctx, const std::string& message) {
  ctx.Log.LogLine(message);
  ctx.RunState = RunState::Running;
}

// Finds the next selected mod from `*index` on and makes it the running
// one. False when no selected mod is left.
bool SelectNextMod(InstallContext& ctx, size_t* index) {
  const std::vector<ModEntry>& entries = ctx.ModCatalogue.Entries;
  while (*index < entries.size() && entries[*index].Selection == 0) ++*index;
  if (*index >= entries.size()) return false;
  const std::string folder =
      ctx.InstallerDir + entries[*index].FolderName + "\\";
  ctx.SourceDir = CutTo(folder, kSourceDirCapacity);
  ctx.ModPath = CutTo(folder, kModPathCapacity);
  return true;
}

void RunSingleScript(InstallContext& ctx) {
  ctx.ModPath = ctx.InstallerDir;
  ctx.SourceDir = ctx.InstallerDir;
  std::vector<std::string> lines;
  if (!ReadScript(ctx, &lines)) {
    ReportUnreadableScript(ctx, "Can't read " + ctx.ModPath + kScriptFileName);
    return;
  }
  ctx.RunState = RunState::Running;
  SetGamePath(ctx);
  if (EndsRun(RunModScript(ctx, nullptr, lines))) return;
  ctx.RunState = RunState::Done;
}

void RunCatalogue(InstallContext& ctx) {
  for (size_t index = 0;; ++index) {
    if (StopWasRequested(ctx)) return;
    if (!SelectNextMod(ctx, &index)) {
      ctx.RunState = RunState::Done;
      return;
    }
    std::vector<std::string> lines;
    if (!ReadScript(ctx, &lines)) {
      ReportUnreadableScript(ctx, ctx.ModPath + kScriptFileName);
      return;
    }
    ctx.Log.ClearWindow();
    ctx.RunState = RunState::Running;
    SetGamePath(ctx);
    if (EndsRun(RunModScript(ctx, &ctx.ModCatalogue.Entries[index], lines))) {
      return;
    }
    ctx.Log.LogLine("\r\n\r\n");
  }
}

void WriteBanner(InstallContext& ctx, const char* rule, const char* text) {
  ctx.Log.LogLine(" ");
  ctx.Log.LogLine(rule);
  ctx.Log.LogLine(text);
  ctx.Log.LogLine(rule);
  ctx.Log.LogLine(" ");
}

void WriteClosingBanner(InstallContext& ctx) {
  switch (ctx.RunState) {
    case RunState::Aborted:
      WriteBanner(ctx, kAbortRule, "The script was aborted.");
      break;
    case RunState::Running:
      WriteBanner(ctx, kFailureRule,
                  "The script failed. The installation failed.");
      break;
    case RunState::Done:
      WriteBanner(ctx, kFailureRule, "                All done.");
      break;
  }
}

// Editors still open lose what they hold in memory: only their files close.
void CloseEveryFile(InstallContext& ctx) {
  ctx.Img.CloseFiles();
  ctx.Log.CloseFile();
}

}  // namespace

void RunInstallation(InstallContext& ctx) {
  if (ctx.ChosenPath.empty()) {
    CloseEveryFile(ctx);
    ctx.WorkerFinished = true;
    if (ctx.RequestWindowClose) ctx.RequestWindowClose();
    return;
  }
  if (ctx.ModCatalogue.Present) {
    RunCatalogue(ctx);
  } else {
    RunSingleScript(ctx);
  }
  WriteClosingBanner(ctx);
  if (ctx.DumpObjectIds) WriteObjectIdDump(ctx);
  CloseEveryFile(ctx);
  // Only now may the window end the program: the banner and the files are
  // complete.
  ctx.WorkerFinished = true;
}

}  // namespace quarn
