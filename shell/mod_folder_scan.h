// The scan of the installer's folder for mod folders: "X" and a number from
// 1 to 2999, which is the mod's install order and its identity.
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "shell/shell_messages.h"

namespace quarn {

/// The highest folder number a mod may have.
inline constexpr int kHighestModNumber = 2999;

/// The longest folder name a catalogue entry can hold.
inline constexpr size_t kModFolderNameCapacity = 259;

/// The mod folders found, by number; slot 0 is never used.
struct ModFolderSlots {
  std::vector<std::string> names =
      std::vector<std::string>(kHighestModNumber + 1);  ///< upper-case names
  int lowest = kHighestModNumber + 1;  ///< lowest number placed
  int highest = 0;                     ///< highest number placed
  bool any = false;                    ///< at least one folder was placed
};

/// Lists `installer_dir` (ending in a backslash) and places every folder
/// named "X" + a number above 0 in its slot, in the order the platform
/// delivers them. A number above 2999 or a number already taken stops the
/// scan with its message on `messages`; the slots filled so far stay. A
/// name longer than 259 characters is skipped with its message.
ModFolderSlots ScanModFolders(FileSystem& fs, const std::string& installer_dir,
                              MessageSink& messages);

}  // namespace quarn
