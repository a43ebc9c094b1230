#include "cli/dry_run.h"

#include <memory>
#include <string>

#include "cli/change_report.h"
#include "cli/quarn_cli.h"
#include "cli/user_paths.h"

namespace quarn {

int RunDry(FileSystem& fs, const DryRunReport& form, FILE* err,
           const std::function<int(OverlayFileSystem&)>& install) {
  OverlayFileSystem overlay(fs);
  const int status = install(overlay);
  if (status == kExitUsage) return status;
  const ChangeReport report = GatherChangeReport(overlay, status);
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
