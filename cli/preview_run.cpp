#include "cli/preview_run.h"

#include <utility>

#include "changes/change_tracker.h"
#include "cli/change_report.h"
#include "cli/dry_run.h"
#include "cli/quarn_cli.h"
#include "editing/install_log.h"
#include "run/runner.h"

namespace quarn {
namespace {

// The preview keeps no log: only the lines the command under way has
// shown, which say why when the command fails.
class CommandLogWindow : public LogWindow {
 public:
  /// Lines count as the command's while `*script_line` stays the same.
  void Follow(const std::string* script_line) { script_line_ = script_line; }

  void Append(const std::string& text) override {
    if (*script_line_ != command_) {
      command_ = *script_line_;
      lines_.clear();
    }
    lines_ += text;
  }
  void Clear() override {}

  /// The command's lines, blank ones left out, each indented by two.
  std::string IndentedLines() const {
    std::string shown;
    size_t start = 0;
    while (start < lines_.size()) {
      size_t end = lines_.find("\r\n", start);
      if (end == std::string::npos) end = lines_.size();
      std::string line = lines_.substr(start, end - start);
      line.erase(line.find_last_not_of(' ') + 1);
      if (!line.empty()) shown += "  " + line + "\n";
      start = end + 2;
    }
    return shown;
  }

 private:
  const std::string* script_line_ = nullptr;
  std::string command_;
  std::string lines_;
};

std::string FailedModLabel(const ChangeReport& report) {
  for (const ModChangeSet& set : report.mods) {
    if (set.outcome == ModOutcome::kFailed) return ModSetLabel(set);
  }
  return "";
}

}  // namespace

std::string PreviewRun::Run(FileSystem& fs) {
  const ChangeReport report =
      GatherDryRun(fs, [this](OverlayFileSystem& overlay, DryRunMods* mods) {
        return InstallOver(overlay, mods);
      });
  if (report.exit_status == kExitAborted) return "";
  std::string text = ChangeReportText(report);
  if (report.exit_status == kExitFailed && !failed_command_.empty()) {
    text += "The real run would fail in " + FailedModLabel(report) +
            " at:\n  " + failed_command_ + "\n" + failure_lines_;
  }
  return text;
}

void PreviewRun::Stop() {
  std::lock_guard<std::mutex> hold(mutex_);
  stop_ = true;
  if (running_) running_->StopRequested = true;
}

void PreviewRun::Attach(InstallContext* ctx) {
  std::lock_guard<std::mutex> hold(mutex_);
  running_ = ctx;
  if (ctx && stop_) ctx->StopRequested = true;
}

int PreviewRun::InstallOver(OverlayFileSystem& overlay, DryRunMods* mods) {
  CommandLogWindow window;
  InstallLog log(&window, nullptr);
  ChangeTracker tracker(overlay);
  InstallContext ctx(tracker, log);
  window.Follow(&ctx.ScriptLine);
  mods->Follow(ctx, tracker);
  // The real install keeps an undo journal: its room counts too.
  overlay.CountJournalOf([&ctx] { return ctx.GamePath; });
  // Before the tracker hears of the end, the failed command is still known.
  ctx.ModEnded = [this, &ctx, &window,
                  follow = std::move(ctx.ModEnded)](ModOutcome outcome) {
    if (outcome == ModOutcome::kFailed) {
      failed_command_ = ctx.ScriptLine;
      failure_lines_ = window.IndentedLines();
    }
    follow(outcome);
  };
  ctx.InstallerDir = request_.installer_dir;
  ctx.ModCatalogue = request_.catalogue;
  ctx.ChosenPath = request_.game;
  ctx.DumpObjectIds = request_.dump_object_ids;
  Attach(&ctx);
  RunInstallation(ctx);
  Attach(nullptr);
  return ExitStatusOf(ctx.RunState);
}

}  // namespace quarn
