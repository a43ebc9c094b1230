#include "cli/check_command.h"

#include <string>

#include "cli/quarn_cli.h"
#include "gamecheck/game_check.h"
#include "platform/file_contents.h"
#include "shell/game_folder.h"
#include "text/ascii.h"

namespace quarn {
namespace {

bool LoadLimits(FileSystem& fs, const std::string& file, CheckLimits* limits,
                std::string* problem) {
  if (file.empty()) return true;
  std::string bytes;
  if (!ReadWholeFile(fs, fs.AbsolutePath(file), &bytes)) {
    *problem = "cannot read the limits file " + file;
    return false;
  }
  std::string error;
  if (ReadLimitsFile(bytes, limits, &error)) return true;
  *problem = file + ": " + error;
  return false;
}

}  // namespace

int CheckGameFolder(const CommandLine& line, FileSystem& fs, FILE* out,
                    FILE* err) {
  const std::string game =
      WithTrailingBackslash(fs.AbsolutePath(line.game_dir));
  if (!HoldsGame(fs, game)) {
    return UsageError(err,
                      "not a game folder (no gta-vc.exe): " + line.game_dir);
  }
  CheckLimits limits;
  std::string problem;
  if (!LoadLimits(fs, line.limits_file, &limits, &problem)) {
    return UsageError(err, problem);
  }
  const CheckFindings findings = CheckGame(fs, game, limits);
  fputs(CheckReportText(findings).c_str(), out);
  return CheckExitStatus(findings);
}

}  // namespace quarn
