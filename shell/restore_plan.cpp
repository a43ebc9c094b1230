#include "shell/restore_plan.h"

namespace quarn {
namespace {

// Each data backup folder and the working folder its files go back to.
const char* const kDataFolders[][2] = {
    {"data\\backup\\", "data\\"},
    {"data\\backup\\maps\\", "data\\maps\\"},
    {"data\\backup\\paths\\", "data\\paths\\"},
};

bool IsOrdinaryEntry(const FolderEntry& entry) {
  return (entry.attributes & (kAttrDirectory | kAttrHidden | kAttrSystem)) == 0;
}

void PlanFolder(FileSystem& fs, const std::string& from, const std::string& to,
                std::vector<RestoreCopy>* plan) {
  std::vector<FolderEntry> entries;
  if (fs.ListFolder(from, &entries) != FsStatus::kOkay) return;
  for (const FolderEntry& entry : entries) {
    if (!IsOrdinaryEntry(entry)) continue;
    plan->push_back(RestoreCopy{RestoreItem::kDataFile, from + entry.name,
                                to + entry.name});
  }
}

}  // namespace

std::vector<RestoreCopy> PlanRestore(FileSystem& fs,
                                     const std::string& restore_dir) {
  std::vector<RestoreCopy> plan = {
      {RestoreItem::kArchive, restore_dir + "models\\backup\\gta3.img",
       restore_dir + "models\\gta3.img"},
      {RestoreItem::kDirectory, restore_dir + "models\\backup\\gta3.dir",
       restore_dir + "models\\gta3.dir"},
  };
  for (const auto& folder : kDataFolders) {
    PlanFolder(fs, restore_dir + folder[0], restore_dir + folder[1], &plan);
  }
  return plan;
}

}  // namespace quarn
