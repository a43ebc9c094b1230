#include "undo/journal_folder.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "platform/file_contents.h"
#include "platform/folder_lock.h"
#include "platform/game_file.h"
#include "text/ascii.h"

namespace quarn {
namespace {

// Entry folders are named by their number in six digits, so that they list
// in order.
bool EntryNumberOf(const std::string& name, int* number) {
  if (name.size() != 6) return false;
  int value = 0;
  for (char c : name) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  *number = value;
  return value > 0;
}

std::vector<int> EntryNumbers(FileSystem& fs, const std::string& game) {
  std::vector<FolderEntry> listing;
  std::vector<int> numbers;
  if (fs.ListFolder(JournalFolderOf(game), &listing) != FsStatus::kOkay) {
    return numbers;
  }
  for (const FolderEntry& found : listing) {
    int number = 0;
    if ((found.attributes & kAttrDirectory) != 0 &&
        EntryNumberOf(found.name, &number)) {
      numbers.push_back(number);
    }
  }
  std::sort(numbers.begin(), numbers.end());
  return numbers;
}

bool MakeFolderIfMissing(FileSystem& fs, const std::string& path) {
  return fs.AttributesOf(path) != kNoSuchFile || fs.MakeFolder(path);
}

}  // namespace

std::string JournalFolderOf(const std::string& game) {
  return RunLockFolderOf(game) + "\\";
}

std::string EntryFolderOf(const std::string& game, int number) {
  char name[16];
  std::snprintf(name, sizeof name, "%06d\\", number);
  return JournalFolderOf(game) + name;
}

std::vector<JournalEntry> ListJournalEntries(FileSystem& fs,
                                             const std::string& game) {
  std::vector<JournalEntry> entries;
  for (int number : EntryNumbers(fs, game)) {
    std::string text;
    JournalEntry entry;
    if (ReadWholeFile(fs, EntryFolderOf(game, number) + kEntryFileName,
                      &text) &&
        EntryFromText(text, &entry) && entry.number == number) {
      entries.push_back(entry);
    }
  }
  return entries;
}

int NextEntryNumber(FileSystem& fs, const std::string& game) {
  const std::vector<int> numbers = EntryNumbers(fs, game);
  return numbers.empty() ? 1 : numbers.back() + 1;
}

bool MakeEntryFolder(FileSystem& fs, const std::string& game, int number) {
  return MakeFolderIfMissing(fs, JournalFolderOf(game)) &&
         MakeFolderIfMissing(fs, EntryFolderOf(game, number));
}

bool SaveJournalEntry(FileSystem& fs, const std::string& game,
                      const JournalEntry& entry) {
  const std::string folder = EntryFolderOf(game, entry.number);
  if (!MakeEntryFolder(fs, game, entry.number)) return false;
  return ReplaceWholeFile(fs, folder + kEntryFileName, EntryToText(entry));
}

bool RemoveJournalEntry(FileSystem& fs, const std::string& game, int number) {
  const std::string folder = EntryFolderOf(game, number);
  std::vector<FolderEntry> listing;
  fs.ListFolder(folder, &listing);
  // The entry file goes last: until then the folder still reads as an entry,
  // and a second undo finishes the first's work.
  for (const FolderEntry& found : listing) {
    if ((found.attributes & kAttrDirectory) == 0 &&
        !EqualsIgnoringCase(found.name, kEntryFileName) &&
        !fs.RemoveFile(folder + found.name)) {
      return false;
    }
  }
  const std::string entry_file = folder + kEntryFileName;
  if (fs.AttributesOf(entry_file) != kNoSuchFile &&
      !fs.RemoveFile(entry_file)) {
    return false;
  }
  return fs.RemoveFolder(folder);
}

const JournalEntry* UnfinishedEntryOf(
    const std::vector<JournalEntry>& entries) {
  for (const JournalEntry& entry : entries) {
    if (entry.end == EntryEnd::kUnfinished) return &entry;
  }
  return nullptr;
}

bool FindUnfinishedEntry(FileSystem& fs, const std::string& game,
                         JournalEntry* unfinished) {
  const std::vector<JournalEntry> entries = ListJournalEntries(fs, game);
  const JournalEntry* found = UnfinishedEntryOf(entries);
  if (found != nullptr && unfinished != nullptr) *unfinished = *found;
  return found != nullptr;
}

uint64_t JournalEntryBytes(FileSystem& fs, const std::string& game,
                           int number) {
  std::vector<FolderEntry> listing;
  const std::string folder = EntryFolderOf(game, number);
  uint64_t total = 0;
  fs.ListFolder(folder, &listing);
  for (const FolderEntry& found : listing) {
    if ((found.attributes & kAttrDirectory) != 0) continue;
    std::unique_ptr<File> file =
        fs.Open(folder + found.name, OpenMode::kRead, nullptr);
    uint64_t length = 0;
    if (file && file->Length(&length)) total += length;
  }
  return total;
}

}  // namespace quarn
