#include "gamecheck/loaded_copies.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

#include "gamecheck/loaded_game.h"
#include "img/img_directory.h"
#include "img/img_paths.h"
#include "platform/file_contents.h"
#include "text/ascii.h"

namespace quarn {
namespace {

// One side of the comparison: the directory's records and the archive.
struct ArchiveSide {
  std::vector<ImgEntry> entries;
  const FileOpener* open = nullptr;
  std::string img_path;
  /// The indexes of each name's records, by lower-case name.
  std::unordered_map<std::string, std::vector<size_t>> records;

  bool Read(const FileOpener& opener, const std::string& game) {
    std::string bytes;
    const std::unique_ptr<File> dir = opener(game + kImgDirFile);
    if (!dir || !ReadWholeFile(*dir, &bytes)) return false;
    entries = ImgRecordsOf(bytes);
    for (size_t i = 0; i < entries.size(); ++i) {
      if (!entries[i].IsHole()) {
        records[ToLowerAscii(entries[i].Name())].push_back(i);
      }
    }
    open = &opener;
    img_path = game + kImgArchiveFile;
    return true;
  }

  // Opened for each read: every open is unshared, and the other side may
  // read the same file underneath.
  bool DataOf(const ImgEntry& entry, std::string* data) const {
    data->assign(static_cast<size_t>(entry.Size()) * kImgSectorSize, '\0');
    size_t got = 0;
    const std::unique_ptr<File> img = (*open)(img_path);
    return img &&
           img->ReadAt(static_cast<uint64_t>(entry.Offset()) * kImgSectorSize,
                       data->empty() ? nullptr : &(*data)[0], data->size(),
                       &got) &&
           got == data->size();
  }
};

// By their bytes; by place and size only when an archive cannot be read,
// since a rebuild moves the bytes.
bool SameCopy(const ArchiveSide& before, const ImgEntry& old_entry,
              const ArchiveSide& after, const ImgEntry& new_entry) {
  std::string old_data, new_data;
  if (before.DataOf(old_entry, &old_data) &&
      after.DataOf(new_entry, &new_data)) {
    return old_data == new_data;
  }
  return old_entry.Offset() == new_entry.Offset() &&
         old_entry.Size() == new_entry.Size();
}

}  // namespace

std::vector<CheckProblem> ChangedLoadedCopies(const FileOpener& before,
                                              const FileOpener& after,
                                              const std::string& game) {
  ArchiveSide old_side, new_side;
  std::vector<CheckProblem> problems;
  if (!old_side.Read(before, game) || !new_side.Read(after, game)) {
    return problems;
  }
  for (const auto& name : old_side.records) {
    const auto now = new_side.records.find(name.first);
    if (name.second.size() < 2 || now == new_side.records.end()) continue;
    const size_t loaded = now->second.front();
    const ImgEntry& entry = new_side.entries[loaded];
    const auto same = [&](size_t old_index) {
      return SameCopy(old_side, old_side.entries[old_index], new_side, entry);
    };
    if (same(name.second.front())) continue;
    for (size_t other = 1; other < name.second.size(); ++other) {
      if (!same(name.second[other])) continue;
      problems.push_back(CheckProblem{
          kImgDirFile, loaded + 1, CheckEffect::kLoadsOtherCopy,
          entry.Name() + ": the copy of record " +
              std::to_string(name.second[other] + 1) + ", not of record " +
              std::to_string(name.second.front() + 1) + " (the first)",
          "loaded-copy"});
      break;
    }
  }
  std::sort(problems.begin(), problems.end(),
            [](const CheckProblem& a, const CheckProblem& b) {
              return a.line < b.line;
            });
  return problems;
}

}  // namespace quarn
