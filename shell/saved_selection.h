// "saved.dat": the game path, the options and the ticks of the last
// confirmed selection page.
#pragma once

#include <string>

#include "editing/mod_catalogue.h"
#include "platform/file_system.h"
#include "shell/installer_options.h"

namespace quarn {

/// The file's name in the installer folder.
inline constexpr char kSavedFileName[] = "saved.dat";

/// What a load found besides the ticks.
struct SavedSelection {
  std::string remembered_path;  ///< line 1 from its 12th character; may be ""
  InstallerOptions options;     ///< lines 2 to 4; all 0 without a catalogue
};

/// Reads `path`. The remembered path always; the options and the ticks
/// (merged into `*catalogue` by upper-cased folder name) only when the
/// catalogue is present. A missing or unreadable file gives an empty path,
/// options 0 and unchanged ticks.
SavedSelection LoadSavedSelection(FileSystem& fs, const std::string& path,
                                  ModCatalogue* catalogue);

/// The bytes of "saved.dat" for `chosen_path`, `options` and `catalogue`:
/// "game path: " + the path, the three options as number fields, then
/// folder name, ",", selection as a number field per entry; CR LF after
/// each line. A folder name holding a comma or double quote is quoted.
std::string SavedSelectionText(const std::string& chosen_path,
                               const InstallerOptions& options,
                               const ModCatalogue& catalogue);

/// Writes SavedSelectionText to `path` (created or emptied). False when it
/// cannot be written.
bool SaveSelection(FileSystem& fs, const std::string& path,
                   const std::string& chosen_path,
                   const InstallerOptions& options,
                   const ModCatalogue& catalogue);

}  // namespace quarn
