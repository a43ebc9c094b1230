#include "cli/change_report.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "img/img_paths.h"
#include "text/ascii.h"
#include "undo/journal_folder.h"

namespace quarn {
namespace {

std::string LettersOrNone(uint32_t attributes) {
  const std::string letters = AttributeLetters(attributes);
  return letters.empty() ? "none" : letters;
}

std::string Bytes(uint64_t count) { return std::to_string(count); }

std::string AttributeChange(const OverlayChange& change) {
  if (change.attributes_before == change.attributes_after) return "";
  return ", attributes " + LettersOrNone(change.attributes_before) + " -> " +
         LettersOrNone(change.attributes_after);
}

std::string ChangeLine(const OverlayChange& change) {
  using What = OverlayChange::What;
  switch (change.what) {
    case What::kFileCreated:
      return "create  " + change.path + "  (none -> " +
             Bytes(change.size_after) + " bytes)";
    case What::kFileChanged:
      return "change  " + change.path + "  (" + Bytes(change.size_before) +
             " -> " + Bytes(change.size_after) + " bytes" +
             AttributeChange(change) + ")";
    case What::kFileDeleted:
      return "delete  " + change.path + "  (" + Bytes(change.size_before) +
             " -> none)";
    case What::kFolderCreated:
      return "create  " + change.path + "\\  (folder)";
    case What::kFolderChanged:
      return "change  " + change.path + "\\  (folder" +
             AttributeChange(change) + ")";
  }
  return "";
}

// The game folders (ending in a backslash) whose archive or directory the
// run would change, keyed by their upper-cased path.
std::map<std::string, std::string> ChangedArchives(
    const std::vector<OverlayChange>& changes) {
  std::map<std::string, std::string> folders;
  for (const OverlayChange& change : changes) {
    for (const char* file : {kImgArchiveFile, kImgDirFile}) {
      const std::string suffix = std::string("\\") + file;
      const std::string& path = change.path;
      if (path.size() > suffix.size() &&
          EqualsIgnoringCase(path.substr(path.size() - suffix.size()),
                             suffix)) {
        const std::string game =
            path.substr(0, path.size() - suffix.size() + 1);
        folders.emplace(ToUpperAscii(game), game);
      }
    }
  }
  return folders;
}

ArchiveChanges CompareArchive(OverlayFileSystem& overlay,
                              const std::string& game) {
  const std::string dir = game + kImgDirFile;
  const std::string img = game + kImgArchiveFile;
  const std::unique_ptr<File> old_dir = overlay.OpenOriginal(dir);
  const std::unique_ptr<File> old_img = overlay.OpenOriginal(img);
  const std::unique_ptr<File> new_dir =
      overlay.Open(dir, OpenMode::kRead, nullptr);
  const std::unique_ptr<File> new_img =
      overlay.Open(img, OpenMode::kRead, nullptr);
  ArchiveChanges archive;
  archive.game = game;
  archive.compared =
      old_dir && old_img && new_dir && new_img &&
      DiffImgArchives(
          *old_dir, *old_img, *new_dir, *new_img, &archive.entries,
          [&](uint64_t old_start, uint64_t new_start, uint64_t length) {
            return overlay.ShowsOriginal(img, new_start, img, old_start,
                                         length);
          });
  return archive;
}

std::string ArchiveLine(const ArchiveChanges& archive) {
  const std::string head =
      std::string(kImgArchiveFile) + " in " + archive.game + ": ";
  if (!archive.compared) {
    return head + "its entries cannot be compared (a file is missing)";
  }
  const ImgArchiveDiff& entries = archive.entries;
  return head + std::to_string(entries.added.size()) + " entries added, " +
         std::to_string(entries.replaced.size()) + " replaced, " +
         std::to_string(entries.removed.size()) + " removed";
}

// The run's collisions with the mods installed in each game its mods
// changed.
std::vector<Collision> CollisionsWithInstalled(
    FileSystem& fs, const std::vector<ModChangeSet>& mods) {
  std::map<std::string, std::string> games;
  for (const ModChangeSet& set : mods) {
    if (!set.game.empty() && !set.facts.empty()) {
      games.emplace(ToUpperAscii(set.game), set.game);
    }
  }
  std::vector<Collision> collisions;
  for (const auto& game : games) {
    for (Collision& collision : InstalledCollisions(
             mods, game.second, ListJournalEntries(fs, game.second))) {
      collisions.push_back(std::move(collision));
    }
  }
  return collisions;
}

void AddModSection(const ModChangeSet& set, std::string* text) {
  *text +=
      "Mod " + ModSetLabel(set) + ", " + ModOutcomeName(set.outcome) + ":\n";
  for (const ChangeFact& fact : set.facts) {
    *text += "  " + FactLine(fact) + "\n";
  }
  if (set.facts.empty()) *text += "  change nothing\n";
}

void AddCollisions(const char* heading,
                   const std::vector<Collision>& collisions,
                   std::string* text) {
  *text += std::string(heading) + (collisions.empty() ? ": none\n" : ":\n");
  for (const Collision& collision : collisions) {
    *text += "  " + CollisionLine(collision) + "\n";
  }
}

void AddCheckSection(const GameCheckChanges& check, std::string* text) {
  *text +=
      "Check of the game in " + check.game + " as the run would leave it:\n";
  for (const CheckProblem& problem : check.findings.problems) {
    *text += "  " + ProblemLine(problem) + "\n";
  }
  *text += "  " + TablesLine(check.findings) + "\n";
  *text += "  " + VerdictLine(check.findings) + "\n";
  for (const BrokenRule& broken : check.broken) {
    *text += "  " + broken.rule + ": " +
             (broken.before_run    ? "broken before this run"
              : broken.mod.empty() ? "broken by this run"
                                   : "first broken by " + broken.mod) +
             "\n";
  }
}

}  // namespace

const char* ModOutcomeName(ModOutcome outcome) {
  return EntryEndName(EntryEndOf(outcome));
}

std::string AttributeLetters(uint32_t attributes) {
  std::string letters;
  if (attributes & kAttrReadOnly) letters += 'R';
  if (attributes & kAttrHidden) letters += 'H';
  if (attributes & kAttrSystem) letters += 'S';
  return letters;
}

ChangeReport GatherChangeReport(OverlayFileSystem& overlay, int exit_status,
                                std::vector<ModChangeSet> mods) {
  ChangeReport report;
  report.collisions = RunCollisions(mods);
  report.installed_collisions = CollisionsWithInstalled(overlay, mods);
  report.mods = std::move(mods);
  report.exit_status = exit_status;
  report.changes = overlay.Changes();
  for (const auto& game : ChangedArchives(report.changes)) {
    report.archives.push_back(CompareArchive(overlay, game.second));
  }
  report.spill_failed = overlay.StoreStats().spill_failed;
  report.unprobed = overlay.Unprobed();
  return report;
}

std::string ChangeReportText(const ChangeReport& report) {
  std::string text =
      "Dry run: nothing on disk was changed. A real run would:\n";
  for (const OverlayChange& change : report.changes) {
    text += "  " + ChangeLine(change) + "\n";
  }
  if (report.changes.empty()) text += "  change nothing\n";
  for (const ArchiveChanges& archive : report.archives) {
    text += ArchiveLine(archive) + "\n";
  }
  for (const ModChangeSet& set : report.mods) AddModSection(set, &text);
  if (!report.mods.empty()) {
    AddCollisions("Collisions in this run", report.collisions, &text);
    AddCollisions("Collisions with installed mods", report.installed_collisions,
                  &text);
  }
  for (const GameCheckChanges& check : report.checks) {
    AddCheckSection(check, &text);
  }
  if (report.spill_failed) {
    text +=
        "quarn: the temporary file for written data failed; writes after "
        "that failed here although a real run would have made them\n";
  }
  if (!report.unprobed.empty()) {
    std::string paths;
    for (const std::string& path : report.unprobed) {
      paths += (paths.empty() ? "" : ", ") + path;
    }
    text +=
        "quarn: this system cannot check without changing them whether a "
        "real run could change these, so it may still fail there: " +
        paths + "\n";
  }
  return text;
}

}  // namespace quarn
