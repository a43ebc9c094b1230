#include "cli/list_command.h"

#include "cli/quarn_cli.h"
#include "cli/stream_messages.h"
#include "cli/user_paths.h"
#include "shell/mod_catalogue_build.h"
#include "shell/saved_selection.h"

namespace quarn {

int ListMods(const CommandLine& line, FileSystem& fs, FILE* out, FILE* err) {
  std::string dir, problem;
  if (!ResolveInstallerDir(fs, line.installer_dir, &dir, &problem)) {
    return UsageError(err, problem);
  }
  StreamMessages scan_messages(err);
  ModCatalogue catalogue = LoadModCatalogue(fs, dir, scan_messages);
  LoadSavedSelection(fs, dir + kSavedFileName, &catalogue);
  if (!catalogue.Present) {
    fprintf(err, "quarn: no mod folder with a %s in %s\n", "QuarnInstall.txt",
            line.installer_dir.empty() ? "." : line.installer_dir.c_str());
  }
  for (const ModEntry& entry : catalogue.Entries) {
    fprintf(out, "%s%s  %s\n", entry.Selection != 0 ? "[x] " : "[ ] ",
            entry.FolderName.c_str(), entry.DisplayName.c_str());
  }
  return kExitAllDone;
}

}  // namespace quarn
