// The selection page: the game folder, the mods to install, "Use backup"
// and the options.
#pragma once

#include <string>

#include "platform/file_system.h"
#include "run/install_context.h"
#include "shell/installer_options.h"
#include "shell/setup_ini.h"

namespace quarn {

/// What the selection page works on; it changes the ticks and the options
/// in place and gives back the chosen path.
struct SelectionPageData {
  FileSystem* fs;
  ModCatalogue* catalogue;
  InstallerOptions* options;
  const SetupSettings* setup;
  std::string installer_dir;    ///< ends in a backslash; "Preview" runs there
  std::string remembered_path;  ///< line 1 of "saved.dat", may be empty
  std::string chosen_path;      ///< out: empty, "<scripted>" or a folder
};

/// Makes the remembered game folder the current folder (or at least its
/// drive the current drive), so that the directory list opens there.
void EnterRememberedFolder(const std::string& remembered_path);

/// Shows the page until it closes; `data->chosen_path` tells how.
void RunSelectionPage(SelectionPageData* data);

}  // namespace quarn
