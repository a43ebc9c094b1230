// One run at a time per game folder, and none over an install that did not
// finish, as `quarn` tells the user about it.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "platform/file_system.h"
#include "undo/journaling_file_system.h"

namespace quarn {

/// The run lock of game folder `folder` (engine form) taken through `fs`;
/// null, after one line on `err` saying why, when another run holds it or
/// it cannot be taken.
std::unique_ptr<FolderLock> LockGameFolder(FileSystem& fs,
                                           const std::string& folder,
                                           FILE* err);

/// Readies `folder` for a journaled run through `journal`: its run lock,
/// and no unfinished install in its journal. False after one line on `err`
/// saying why.
bool OpenJournaledGame(JournalingFileSystem& journal, const std::string& folder,
                       FILE* err);

/// True, after one line on `err` naming the undo, when the journal of
/// `folder` holds an install that did not finish.
bool RefuseUnfinishedInstall(FileSystem& fs, const std::string& folder,
                             FILE* err);

/// The engine's words for a game another run is changing, `shown_folder`
/// spelled as messages name it.
std::string AnotherRunText(const std::string& shown_folder);

/// "the install of X1 (Kiosk area) into FOLDER (DATE) did not finish".
std::string UnfinishedInstallText(const JournalEntry& entry,
                                  const std::string& shown_folder);

/// AnotherRunText for `folder` (engine form) when another run holds its run
/// lock now; empty when it is free or the lock cannot be tried.
std::string GameBusyMessage(FileSystem& fs, const std::string& folder);

}  // namespace quarn
