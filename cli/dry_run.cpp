#include "cli/dry_run.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cli/quarn_cli.h"
#include "img/img_archive_diff.h"
#include "img/img_paths.h"
#include "text/ascii.h"

namespace quarn {
namespace {

std::string AttributeLetters(uint32_t attributes) {
  std::string letters;
  if (attributes & kAttrReadOnly) letters += 'R';
  if (attributes & kAttrHidden) letters += 'H';
  if (attributes & kAttrSystem) letters += 'S';
  return letters.empty() ? "none" : letters;
}

std::string Bytes(uint64_t count) { return std::to_string(count); }

std::string AttributeChange(const OverlayChange& change) {
  if (change.attributes_before == change.attributes_after) return "";
  return ", attributes " + AttributeLetters(change.attributes_before) + " -> " +
         AttributeLetters(change.attributes_after);
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

std::string ArchiveLine(OverlayFileSystem& overlay, const std::string& game) {
  const std::string dir = game + kImgDirFile;
  const std::string img = game + kImgArchiveFile;
  const std::unique_ptr<File> old_dir = overlay.OpenOriginal(dir);
  const std::unique_ptr<File> old_img = overlay.OpenOriginal(img);
  const std::unique_ptr<File> new_dir =
      overlay.Open(dir, OpenMode::kRead, nullptr);
  const std::unique_ptr<File> new_img =
      overlay.Open(img, OpenMode::kRead, nullptr);
  const std::string head = std::string(kImgArchiveFile) + " in " + game + ": ";
  ImgArchiveDiff diff;
  if (!old_dir || !old_img || !new_dir || !new_img ||
      !DiffImgArchives(
          *old_dir, *old_img, *new_dir, *new_img, &diff,
          [&](uint64_t old_start, uint64_t new_start, uint64_t length) {
            return overlay.ShowsOriginal(img, new_start, img, old_start,
                                         length);
          })) {
    return head + "its entries cannot be compared (a file is missing)";
  }
  return head + std::to_string(diff.added) + " entries added, " +
         std::to_string(diff.replaced) + " replaced, " +
         std::to_string(diff.removed) + " removed";
}

}  // namespace

void WriteChangeReport(OverlayFileSystem& overlay, FILE* out) {
  const std::vector<OverlayChange> changes = overlay.Changes();
  fputs("Dry run: nothing on disk was changed. A real run would:\n", out);
  for (const OverlayChange& change : changes) {
    fprintf(out, "  %s\n", ChangeLine(change).c_str());
  }
  if (changes.empty()) fputs("  change nothing\n", out);
  for (const auto& game : ChangedArchives(changes)) {
    fprintf(out, "%s\n", ArchiveLine(overlay, game.second).c_str());
  }
  if (overlay.StoreStats().spill_failed) {
    fputs(
        "quarn: the temporary file for written data failed; writes after "
        "that failed here although a real run would have made them\n",
        out);
  }
}

int RunDry(FileSystem& fs, FILE* err,
           const std::function<int(FileSystem&)>& install) {
  OverlayFileSystem overlay(fs);
  const int status = install(overlay);
  if (status != kExitUsage) WriteChangeReport(overlay, err);
  return status;
}

}  // namespace quarn
