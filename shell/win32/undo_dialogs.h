// "Undo": the question naming the newest run's mods, the undo behind a
// progress dialog, and its outcome.
#pragma once

#include <windows.h>

#include <string>

#include "platform/file_system.h"

namespace quarn {

/// The text of the box that offers to undo the install of `game` (engine
/// form, ending in a backslash) that did not finish; empty when its journal
/// holds none.
std::string UnfinishedInstallQuestion(FileSystem& fs, const std::string& game);

/// Undoes the newest run into `game` (engine form, ending in a backslash)
/// after the player said Yes to `question`, or to the question naming that
/// run's mods when `question` is empty; shows what came of it in boxes
/// owned by `owner`. True when something was undone.
bool RunUndoDialogs(HWND owner, FileSystem& fs, const std::string& game,
                    const std::string& question);

}  // namespace quarn
