// Where a game's undo journal lives: one folder per installed mod inside
// the game's QuarnUndo folder, each with its entry file and change log.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "undo/journal_entry.h"

namespace quarn {

/// The entry file of an entry's folder.
inline constexpr char kEntryFileName[] = "entry.json";
/// The change log of an entry's folder.
inline constexpr char kChangeLogFileName[] = "changes.bin";
/// How many of the change log's records an undo under way has put back.
inline constexpr char kUndoneFileName[] = "undone.txt";

/// `game`\QuarnUndo\, ending in a backslash.
std::string JournalFolderOf(const std::string& game);

/// The folder of entry `number` of the journal of `game`, ending in a
/// backslash.
std::string EntryFolderOf(const std::string& game, int number);

/// The entries of the journal of `game`, oldest first. A folder whose entry
/// file is missing or unreadable is no entry.
std::vector<JournalEntry> ListJournalEntries(FileSystem& fs,
                                             const std::string& game);

/// The number the next entry of `game` gets: one more than any folder's.
int NextEntryNumber(FileSystem& fs, const std::string& game);

/// Makes entry `number`'s folder, and the journal's, where missing. False
/// if it failed.
bool MakeEntryFolder(FileSystem& fs, const std::string& game, int number);

/// Writes the entry file of `entry` in its folder (made if missing), whole
/// and on the disk, replacing the old one. False if it failed.
bool SaveJournalEntry(FileSystem& fs, const std::string& game,
                      const JournalEntry& entry);

/// Deletes entry `number`'s folder and what it holds. False if anything
/// stays.
bool RemoveJournalEntry(FileSystem& fs, const std::string& game, int number);

/// The first of `entries` that is unfinished, or null when none is.
const JournalEntry* UnfinishedEntryOf(const std::vector<JournalEntry>& entries);

/// True, with `*unfinished` (when given) set to it, when an entry of the
/// journal of `game` is unfinished.
bool FindUnfinishedEntry(FileSystem& fs, const std::string& game,
                         JournalEntry* unfinished);

/// The bytes entry `number`'s folder holds.
uint64_t JournalEntryBytes(FileSystem& fs, const std::string& game, int number);

}  // namespace quarn
