#include "cli/dry_run.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "cli/change_report.h"
#include "cli/quarn_cli.h"
#include "cli/run_game_checks.h"
#include "cli/user_paths.h"
#include "img/img_paths.h"

namespace quarn {
namespace {

// The files of the archive that `img` holds open, for a look in the
// middle of the run.
std::vector<HeldFile> HeldArchiveFiles(const ImgDirectory& img) {
  return {{img.GameFolder + kImgDirFile, img.DirFile.get()},
          {img.GameFolder + kImgArchiveFile, img.ImgFile.get()}};
}

}  // namespace

void DryRunMods::Follow(InstallContext& ctx, ChangeTracker& tracker) {
  FollowRunInTracker(ctx, tracker, nullptr, [this, &ctx](ModChangeSet set) {
    Ended(std::move(set), HeldArchiveFiles(ctx.Img));
  });
}

void DryRunMods::Ended(ModChangeSet set, std::vector<HeldFile> held) {
  if (set.game.empty()) {
    checks_.emplace_back();
  } else {
    UnseenLook look(overlay_, std::move(held));
    checks_.push_back(CheckAsTheRunLeavesIt(overlay_, look, set.game));
  }
  sets_.push_back(std::move(set));
}

ChangeReport GatherDryRun(FileSystem& fs, const DryInstall& install) {
  OverlayFileSystem overlay(fs);
  DryRunMods mods(overlay);
  const int status = install(overlay, &mods);
  // Nothing reached the disk: below the overlay the game is as before.
  std::vector<GameCheckChanges> checks =
      CheckRunGames(fs, overlay, mods.sets(), mods.checks());
  ChangeReport report =
      GatherChangeReport(overlay, status, std::move(mods.sets()));
  report.checks = std::move(checks);
  return report;
}

int RunDry(FileSystem& fs, const DryRunReport& form, FILE* err,
           const DryInstall& install) {
  // The run works in the installer folder; the path was typed in this one.
  const std::string path = form.file.empty() ? "" : fs.AbsolutePath(form.file);
  const ChangeReport report = GatherDryRun(fs, install);
  const int status = report.exit_status;
  if (status == kExitUsage) return status;
  const std::string text =
      form.json ? ChangeReportJson(report) : ChangeReportText(report);
  if (form.file.empty()) {
    fputs(text.c_str(), err);
    return status;
  }
  // The report is the run's one file on disk: the player asked for it.
  std::unique_ptr<File> file = fs.Open(path, OpenMode::kCreate, nullptr);
  if (!file || !file->WriteAt(0, text.data(), text.size()) || !file->Flush()) {
    fprintf(err, "quarn: Can't write the report to %s\n", form.file.c_str());
    return status == kExitAllDone ? kExitFailed : status;
  }
  return status;
}

}  // namespace quarn
