#include "shell/mod_folder_scan.h"

#include <cmath>

#include "text/ascii.h"
#include "text/numbers.h"

namespace quarn {
namespace {

// The characters of an over-long name that its message shows.
constexpr size_t kShownNameLength = 40;

bool IsCandidate(const FolderEntry& entry, const std::string& upper) {
  if (entry.name == "." || entry.name == "..") return false;
  if ((entry.attributes & (kAttrHidden | kAttrSystem)) != 0) return false;
  return (entry.attributes & kAttrDirectory) != 0 && !upper.empty() &&
         upper[0] == 'X';
}

// The number after the "X", rounded to the nearest whole number; anything
// above the range reads as one past it.
int FolderNumber(const std::string& upper) {
  const double value = std::round(ReadLenientNumber(upper.substr(1)));
  if (!(value <= kHighestModNumber)) {
    return value > 0 ? kHighestModNumber + 1 : 0;
  }
  return value < 1 ? 0 : static_cast<int>(value);
}

// Places one folder; false when the scan must stop.
bool Place(const std::string& upper, ModFolderSlots& slots,
           MessageSink& messages) {
  const int number = FolderNumber(upper);
  if (number == 0) return true;
  // A name cut to fit could be another folder's name: the mod is left out.
  if (upper.size() > kModFolderNameCapacity) {
    messages.Show(
        "X folder name too long: " + upper.substr(0, kShownNameLength) + "...");
    return true;
  }
  if (number > kHighestModNumber) {
    messages.Show("X folder ID out of range. 2999 max.");
    return false;
  }
  std::string& slot = slots.names[number];
  if (!slot.empty()) {
    messages.Show("Conflict between " + upper + " and " + slot);
    return false;
  }
  slot = upper;
  if (number < slots.lowest) slots.lowest = number;
  if (number > slots.highest) slots.highest = number;
  slots.any = true;
  return true;
}

}  // namespace

ModFolderSlots ScanModFolders(FileSystem& fs, const std::string& installer_dir,
                              MessageSink& messages) {
  ModFolderSlots slots;
  std::vector<FolderEntry> entries;
  if (fs.ListFolder(installer_dir, &entries) != FsStatus::kOkay) return slots;
  for (const FolderEntry& entry : entries) {
    const std::string upper = ToUpperAscii(entry.name);
    if (!IsCandidate(entry, upper)) continue;
    if (!Place(upper, slots, messages)) break;
  }
  return slots;
}

}  // namespace quarn
