#include "cli/run_lock.h"

#include "cli/failure_reason.h"
#include "cli/user_paths.h"
#include "undo/journal_folder.h"

namespace quarn {
namespace {

void SayLocked(const std::string& folder, FILE* err) {
  fprintf(err, "quarn: %s\n", AnotherRunText(UserSpelling(folder)).c_str());
}

void SayUnfinished(const JournalEntry& entry, const std::string& folder,
                   FILE* err) {
  const std::string shown = PathSpelling(folder);
  fprintf(err,
          "quarn: %s; put the game back first with: quarn undo --game %s\n",
          UnfinishedInstallText(entry, shown).c_str(), shown.c_str());
}

}  // namespace

std::string AnotherRunText(const std::string& shown_folder) {
  return "another run is changing the game in " + shown_folder +
         "; try again when it has finished";
}

std::string UnfinishedInstallText(const JournalEntry& entry,
                                  const std::string& shown_folder) {
  return "the install of " + EntryModLabel(entry) + " into " + shown_folder +
         " (" + entry.started + ") did not finish";
}

std::string GameBusyMessage(FileSystem& fs, const std::string& folder) {
  FsStatus status = FsStatus::kOkay;
  if (fs.LockFolder(folder, &status) || status != FsStatus::kSharingViolation) {
    return "";
  }
  return AnotherRunText(UserSpelling(folder));
}

std::unique_ptr<FolderLock> LockGameFolder(FileSystem& fs,
                                           const std::string& folder,
                                           FILE* err) {
  FsStatus status = FsStatus::kOkay;
  std::unique_ptr<FolderLock> lock = fs.LockFolder(folder, &status);
  if (lock) return lock;
  if (status == FsStatus::kSharingViolation) {
    SayLocked(folder, err);
  } else {
    fprintf(err, "quarn: can't lock the game in %s against other runs: %s\n",
            UserSpelling(folder).c_str(),
            FailureReasonLine(fs.LastError(), folder).c_str());
  }
  return nullptr;
}

bool OpenJournaledGame(JournalingFileSystem& journal, const std::string& folder,
                       FILE* err) {
  JournalEntry unfinished;
  switch (journal.OpenGame(folder, &unfinished)) {
    case JournalRefusal::kNone:
      return true;
    case JournalRefusal::kLocked:
      SayLocked(folder, err);
      return false;
    case JournalRefusal::kUnfinished:
      SayUnfinished(unfinished, folder, err);
      return false;
    case JournalRefusal::kFailed:
      break;
  }
  fprintf(err, "quarn: can't lock the game in %s against other runs: %s\n",
          UserSpelling(folder).c_str(),
          FailureReasonLine(journal.LastError(), folder).c_str());
  return false;
}

bool RefuseUnfinishedInstall(FileSystem& fs, const std::string& folder,
                             FILE* err) {
  JournalEntry unfinished;
  if (!FindUnfinishedEntry(fs, folder, &unfinished)) return false;
  SayUnfinished(unfinished, folder, err);
  return true;
}

}  // namespace quarn
