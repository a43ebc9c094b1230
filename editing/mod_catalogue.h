// The installable mods beside the installer, as the selection page shows
// them and the run walks them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quarn {

/// The name of a mod's install script.
inline constexpr char kScriptFileName[] = "QuarnInstall.txt";

/// One installable mod of the catalogue.
struct ModEntry {
  std::string FolderName;  ///< upper-case folder name, relative to InstallerDir
  std::string DisplayName;  ///< what the selection page shows
  int32_t Selection = 0;    ///< non-zero means install
};

/// The installable mods in ascending folder number.
struct ModCatalogue {
  std::vector<ModEntry> Entries;
  bool Present = false;  ///< set: catalogue layout; clear: single-mod layout
};

}  // namespace quarn
