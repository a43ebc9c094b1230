#include "shell/game_folder.h"

#include "platform/existence.h"

namespace quarn {
namespace {

bool IsVisibleFolder(FileSystem& fs, const std::string& path) {
  const uint32_t attributes = fs.AttributesOf(path);
  return attributes != kNoSuchFile && (attributes & kAttrDirectory) != 0 &&
         (attributes & (kAttrHidden | kAttrSystem)) == 0;
}

}  // namespace

bool HoldsGame(FileSystem& fs, const std::string& folder) {
  return IsOrdinaryFile(fs, folder + kGameProgramName);
}

bool HoldsBackups(FileSystem& fs, const std::string& folder) {
  return IsVisibleFolder(fs, folder + "data\\backup") &&
         IsVisibleFolder(fs, folder + "models\\backup");
}

FolderChoice ChooseFolder(FileSystem& fs, const std::string& folder) {
  const bool backups = HoldsBackups(fs, folder);
  return FolderChoice{HoldsGame(fs, folder), backups,
                      backups ? folder : std::string()};
}

FolderChoice OpeningChoice(FileSystem& fs, const std::string& remembered,
                           bool catalogue_present) {
  FolderChoice choice{HoldsGame(fs, remembered), !remembered.empty(),
                      remembered};
  if (catalogue_present && !remembered.empty() &&
      !HoldsBackups(fs, remembered)) {
    choice.use_backup_enabled = false;
    choice.restore_dir.clear();
  }
  return choice;
}

}  // namespace quarn
