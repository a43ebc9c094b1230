#include "img/img_archive_diff.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "img/img_directory.h"
#include "text/ascii.h"

namespace quarn {
namespace {

// Entry data is compared this much at a time.
constexpr size_t kCompareBlock = size_t{1} << 20;

using EntriesByName = std::map<std::string, std::vector<ImgEntry>>;

bool ReadEntriesByName(File& dir, EntriesByName* by_name) {
  uint64_t length = 0;
  std::vector<ImgEntry> entries;
  if (!dir.Length(&length) ||
      !ReadImgRecords(dir, static_cast<size_t>(length / kImgRecordSize),
                      &entries)) {
    return false;
  }
  for (const ImgEntry& entry : entries) {
    if (!entry.IsHole())
      (*by_name)[ToUpperAscii(entry.Name())].push_back(entry);
  }
  return true;
}

// How many entries of `named`'s name the other version holds too.
size_t Matched(const EntriesByName& other,
               const EntriesByName::value_type& named) {
  const auto found = other.find(named.first);
  return found == other.end()
             ? 0
             : std::min(named.second.size(), found->second.size());
}

uint64_t DataStart(const ImgEntry& entry) {
  return static_cast<uint64_t>(std::max(entry.Offset(), 0)) * kImgSectorSize;
}

uint64_t DataLength(const ImgEntry& entry) {
  return static_cast<uint64_t>(std::max(entry.Size(), 0)) * kImgSectorSize;
}

// Data that cannot be read in full counts as different: nobody can tell
// that it is the same.
bool DataDiffers(File& old_img, const ImgEntry& old_entry, File& new_img,
                 const ImgEntry& new_entry, std::vector<char>* old_block,
                 std::vector<char>* new_block) {
  const uint64_t length = DataLength(old_entry);
  if (length != DataLength(new_entry)) return true;
  for (uint64_t done = 0; done < length;) {
    const size_t piece =
        static_cast<size_t>(std::min<uint64_t>(length - done, kCompareBlock));
    size_t old_got = 0;
    size_t new_got = 0;
    if (!old_img.ReadAt(DataStart(old_entry) + done, old_block->data(), piece,
                        &old_got) ||
        !new_img.ReadAt(DataStart(new_entry) + done, new_block->data(), piece,
                        &new_got) ||
        old_got != piece || new_got != piece ||
        std::memcmp(old_block->data(), new_block->data(), piece) != 0) {
      return true;
    }
    done += piece;
  }
  return false;
}

}  // namespace

bool DiffImgArchives(
    File& old_dir, File& old_img, File& new_dir, File& new_img,
    ImgArchiveDiff* diff,
    const std::function<bool(uint64_t, uint64_t, uint64_t)>& known_same) {
  *diff = ImgArchiveDiff();
  EntriesByName old_entries;
  EntriesByName new_entries;
  if (!ReadEntriesByName(old_dir, &old_entries) ||
      !ReadEntriesByName(new_dir, &new_entries)) {
    return false;
  }
  std::vector<char> old_block(kCompareBlock);
  std::vector<char> new_block(kCompareBlock);
  for (const auto& named : new_entries) {
    const size_t matched = Matched(old_entries, named);
    for (size_t i = matched; i < named.second.size(); ++i) {
      diff->added.push_back(named.second[i].Name());
    }
    for (size_t i = 0; i < matched; ++i) {
      const ImgEntry& old_entry = old_entries.at(named.first)[i];
      const ImgEntry& new_entry = named.second[i];
      const bool vouched =
          known_same && DataLength(old_entry) == DataLength(new_entry) &&
          known_same(DataStart(old_entry), DataStart(new_entry),
                     DataLength(old_entry));
      if (!vouched && DataDiffers(old_img, old_entry, new_img, new_entry,
                                  &old_block, &new_block)) {
        diff->replaced.push_back(new_entry.Name());
      }
    }
  }
  for (const auto& named : old_entries) {
    for (size_t i = Matched(new_entries, named); i < named.second.size(); ++i) {
      diff->removed.push_back(named.second[i].Name());
    }
  }
  return true;
}

}  // namespace quarn
