// Undoing a game's whole journal in a test, as `quarn undo` would entry by
// entry.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace quarn {

/// Undoes every entry of the journal of `game` (engine form, ending in a
/// backslash), newest first; returns what went wrong, empty if nothing did.
std::string UndoWholeJournal(FileSystem& fs, const std::string& game);

}  // namespace quarn
