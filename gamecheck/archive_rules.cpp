#include "gamecheck/archive_rules.h"

#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "gamecheck/col_rules.h"
#include "img/img_directory.h"
#include "img/img_paths.h"
#include "text/ascii.h"
#include "text/numbers.h"

namespace quarn {
namespace {

struct ArchiveReader {
  LoadedGame* game;
  CheckFindings& findings;
  std::unique_ptr<File> img;
  int64_t img_sectors = -1;  // -1: no archive to measure
  std::unordered_set<std::string> col_slots;

  void Problem(size_t record, CheckEffect effect, const std::string& what,
               const char* rule) {
    findings.Add(kImgDirFile, record + 1, effect, what, rule);
  }

  void OpenArchive() {
    uint64_t length = 0;
    if (game->HasFile(kImgArchiveFile)) {
      img = game->fs.Open(game->game_folder + kImgArchiveFile, OpenMode::kRead,
                          nullptr);
    }
    if (img && img->Length(&length)) {
      img_sectors = static_cast<int64_t>(length / kImgSectorSize);
    } else {
      findings.Add(kImgArchiveFile, 0, CheckEffect::kFailsToLoad,
                   "the archive is missing or unreadable", "missing-file");
    }
  }

  // The game reads several records in one pass by adding up their sizes.
  void CheckOrder(size_t record, const ImgEntry& entry,
                  const ImgEntry* before) {
    if (before == nullptr) return;
    const int64_t end = int64_t{before->Offset()} + before->Size();
    if (entry.Offset() == end) return;
    const int64_t apart = entry.Offset() - end;
    Problem(record, CheckEffect::kMisreads,
            entry.Name() + " starts " +
                FormatGrouped(apart < 0 ? -apart : apart) +
                (apart < 0 ? " sectors before" : " sectors after") +
                " the end of " + before->Name() + ", the record before it",
            "archive-order");
  }

  bool CheckName(size_t record, const ImgEntry& entry, std::string* name) {
    *name = entry.Name();
    if (name->size() > kArchiveNameCapacity) {
      Problem(record, CheckEffect::kCuts,
              "record name " + *name + " to its first 23 characters",
              "archive-name-length");
      name->resize(kArchiveNameCapacity);
    }
    const size_t dot = name->find('.');
    if (dot == std::string::npos || dot >= kArchiveDotWithin) {
      Problem(record, CheckEffect::kCrashes,
              "record name " + *name +
                  " has no dot within its first 20 "
                  "characters",
              "archive-name");
      return false;
    }
    return true;
  }

  void CheckCollision(size_t record, const ImgEntry& entry,
                      const std::string& base) {
    if (col_slots.insert(base).second) {
      findings.Use(Limit::kCollisionSlots, kImgDirFile, record + 1);
    }
    if (!img || img_sectors < int64_t{entry.Offset()} + entry.Size()) return;
    std::string bytes(static_cast<size_t>(entry.Size()) * kImgSectorSize, '\0');
    size_t got = 0;
    if (!img->ReadAt(static_cast<uint64_t>(entry.Offset()) * kImgSectorSize,
                     &bytes[0], bytes.size(), &got)) {
      return;
    }
    bytes.resize(got);
    CheckColData(kImgDirFile, record + 1, bytes, true, game);
  }

  void ReadRecord(size_t record, const ImgEntry& entry,
                  const ImgEntry* before) {
    CheckOrder(record, entry, before);
    if (img_sectors >= 0 &&
        int64_t{entry.Offset()} + entry.Size() > img_sectors) {
      Problem(record, CheckEffect::kCrashes,
              entry.Name() + " reaches past the end of " + kImgArchiveFile,
              "archive-end");
    }
    std::string name;
    if (!CheckName(record, entry, &name)) return;
    const size_t dot = name.find('.');
    const std::string base = ToLowerAscii(name.substr(0, dot));
    const std::string extension = ToLowerAscii(name.substr(dot + 1));
    if (extension == "dff" && game->model_names.count(base) == 0) {
      findings.Use(Limit::kUndefinedArchiveModels, kImgDirFile, record + 1);
    } else if (extension == "txd") {
      game->NameTextureDictionary(base, kImgDirFile, record + 1);
    } else if (extension == "col") {
      CheckCollision(record, entry, base);
    }
  }
};

}  // namespace

void CheckArchive(LoadedGame* game) {
  ArchiveReader reader{game, game->findings, nullptr, -1, {"generic"}};
  game->findings.Use(Limit::kCollisionSlots, "", 0);
  std::string bytes;
  if (!game->ReadFile(kImgDirFile, &bytes)) {
    game->findings.Add(kImgDirFile, 0, CheckEffect::kFailsToLoad,
                       "the archive's directory is missing or unreadable",
                       "missing-file");
    return;
  }
  reader.OpenArchive();
  const std::vector<ImgEntry> entries = ImgRecordsOf(bytes);
  for (size_t i = 0; i < entries.size(); ++i) {
    reader.ReadRecord(i, entries[i], i > 0 ? &entries[i - 1] : nullptr);
  }
}

}  // namespace quarn
