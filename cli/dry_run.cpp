#include "cli/dry_run.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "cli/change_report.h"
#include "cli/quarn_cli.h"
#include "cli/user_paths.h"

namespace quarn {

ChangeReport GatherDryRun(FileSystem& fs, const DryInstall& install) {
  OverlayFileSystem overlay(fs);
  std::vector<ModChangeSet> mods;
  const int status = install(overlay, &mods);
  return GatherChangeReport(overlay, status, std::move(mods));
}

int RunDry(FileSystem& fs, const DryRunReport& form, FILE* err,
           const DryInstall& install) {
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
  std::unique_ptr<File> file =
      fs.Open(fs.AbsolutePath(form.file), OpenMode::kCreate, nullptr);
  if (!file || !file->WriteAt(0, text.data(), text.size()) || !file->Flush()) {
    fprintf(err, "quarn: Can't write the report to %s\n", form.file.c_str());
    return status == kExitAllDone ? kExitFailed : status;
  }
  return status;
}

}  // namespace quarn
