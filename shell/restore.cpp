#include "shell/restore.h"

#include "shell/restore_plan.h"
#include "text/ascii.h"

namespace quarn {
namespace {

constexpr size_t kCopiedListCapacity = 4999;

std::string CantCopy(const RestoreCopy& copy) {
  return "Can't copy " + copy.source + "\r\nto " + copy.target;
}

std::string FileNameOf(const std::string& path) {
  return path.substr(path.rfind('\\') + 1);
}

std::string StripCommasAndBlanks(const std::string& text) {
  const size_t first = text.find_first_not_of(", ");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(", ") - first + 1);
}

CopyOutcome CopyOne(const RestoreCopy& copy, RestoreCopiers copiers,
                    bool archive_restored) {
  switch (copy.item) {
    case RestoreItem::kArchive:
      return copiers.archive.Copy(copy.source, copy.target);
    case RestoreItem::kDirectory:
      // A backup directory over an archive it does not describe breaks the
      // game, so the two are only restored together.
      if (!archive_restored) return CopyOutcome::kFailed;
      break;
    case RestoreItem::kDataFile:
      break;
  }
  return copiers.plain.Copy(copy.source, copy.target);
}

}  // namespace

bool RunRestore(FileSystem& fs, const std::string& restore_dir,
                RestoreCopiers copiers, MessageSink& messages) {
  if (restore_dir.empty()) {
    messages.Show("Please locate your GTA install first.");
    return false;
  }
  std::string copied;
  bool all_copied = true;
  bool archive_restored = false;
  for (const RestoreCopy& copy : PlanRestore(fs, restore_dir)) {
    const CopyOutcome outcome = CopyOne(copy, copiers, archive_restored);
    if (copy.item == RestoreItem::kArchive) {
      archive_restored = outcome == CopyOutcome::kCopied;
    }
    if (outcome == CopyOutcome::kCopied) {
      copied =
          CutTo(copied + FileNameOf(copy.source) + ", ", kCopiedListCapacity);
      continue;
    }
    all_copied = false;
    messages.Show(outcome == CopyOutcome::kAccessDenied ? "Access denined"
                                                        : CantCopy(copy));
  }
  messages.Show("Copied: " + StripCommasAndBlanks(copied));
  return all_copied;
}

}  // namespace quarn
