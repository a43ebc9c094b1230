// The catalogue of installable mods, built from the scanned folders: which
// folders hold a script, and the name each row shows.
#pragma once

#include <string>

#include "editing/mod_catalogue.h"
#include "platform/file_system.h"
#include "shell/mod_folder_scan.h"
#include "shell/shell_messages.h"

namespace quarn {

/// The optional file in a mod folder whose first line names the mod.
inline constexpr char kModNameFileName[] = "InsName.txt";

/// The longest display name a row shows.
inline constexpr size_t kDisplayNameCapacity = 99;

/// One entry per slot, in ascending number, whose folder holds an ordinary
/// file "QuarnInstall.txt"; each selected unless its name file unticks it.
/// Present only when at least one entry was made.
ModCatalogue BuildModCatalogue(FileSystem& fs, const std::string& installer_dir,
                               const ModFolderSlots& slots);

/// The scan and the list build together, as start-up runs them.
ModCatalogue LoadModCatalogue(FileSystem& fs, const std::string& installer_dir,
                              MessageSink& messages);

/// The display name and starting selection that the first line `line` of a
/// mod's "InsName.txt" gives: every "***" removed (and the mod unticked when
/// there was one), cut to 99 characters.
ModEntry EntryFromNameLine(const std::string& folder_name,
                           const std::string& line);

}  // namespace quarn
