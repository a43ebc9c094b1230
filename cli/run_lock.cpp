#include "cli/run_lock.h"

#include "cli/failure_reason.h"
#include "cli/user_paths.h"
#include "undo/journal_folder.h"

namespace quarn {
namespace {

void SayLocked(const std::string& folder, FILE* err) {
  fprintf(err,
          "quarn: another run is changing the game in %s; try again when "
          "it has finished\n",
          UserSpelling(folder).c_str());
}

void SayUnfinished(const JournalEntry& entry, const std::string& folder,
                   FILE* err) {
  const std::string shown = PathSpelling(folder);
  fprintf(err,
          "quarn: the install of %s into %s (%s) did not finish; put the "
          "game back first with: quarn undo --game %s\n",
          EntryModLabel(entry).c_str(), shown.c_str(), entry.started.c_str(),
          shown.c_str());
}

}  // namespace

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
