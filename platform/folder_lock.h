// The lock that lets one run at a time change a game folder. The operating
// system holds it, so a run that crashes or is killed leaves none behind.
#pragma once

#include <string>

namespace quarn {

/// Holds a game folder's run lock until it is destroyed.
class FolderLock {
 public:
  virtual ~FolderLock() = default;
};

/// The folder at a game folder's root that holds the run lock (and the undo
/// journal).
inline constexpr char kRunLockFolderName[] = "QuarnUndo";

/// The file in kRunLockFolderName whose first byte the run lock covers; it
/// stays, empty, after the lock is released.
inline constexpr char kRunLockFileName[] = "run.lock";

/// The byte range of the lock file the run lock covers: the same on every
/// platform, so that a Linux run and a run under Wine exclude each other.
inline constexpr unsigned kRunLockOffset = 0;
inline constexpr unsigned kRunLockLength = 1;

/// True when `key` (a path in upper case) lies inside the game folder whose
/// key is `game_key` (upper case, ending in a backslash) and outside its
/// kRunLockFolderName folder: what the undo journal keeps of a run. A name
/// that only begins like that folder's is the game's.
bool JournalKeeps(const std::string& game_key, const std::string& key);

/// The folder `folder`\QuarnUndo, in engine form.
std::string RunLockFolderOf(const std::string& folder);

/// The file `folder`\QuarnUndo\run.lock, in engine form.
std::string RunLockFileOf(const std::string& folder);

}  // namespace quarn
