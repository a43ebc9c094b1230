#include "img/img_deldup.h"

#include <string_view>
#include <unordered_map>

#include "img/img_names.h"
#include "img/img_required_open.h"

namespace quarn {

// Walking down from the last entry, the first time a name is met is its
// kept entry; every earlier entry of that name goes, and is reported then.
// This gives the order of comparing every entry with all entries before it,
// without the quadratic cost.
std::vector<std::string> DeleteDuplicates(std::vector<ImgEntry>& entries) {
  std::unordered_map<std::string_view, size_t> occurrences;
  occurrences.reserve(entries.size());
  for (const ImgEntry& entry : entries) {
    if (!entry.IsHole()) ++occurrences[NameView(entry)];
  }
  std::vector<std::string> deleted;
  std::vector<size_t> to_mark;
  for (size_t i = entries.size(); i-- > 0;) {
    if (entries[i].IsHole()) continue;
    auto found = occurrences.find(NameView(entries[i]));
    if (found->second == 0) {
      to_mark.push_back(i);
      continue;
    }
    // The kept entry: report all its earlier namesakes now.
    const std::string name(found->first);
    deleted.insert(deleted.end(), found->second - 1, name);
    found->second = 0;
  }
  // Marking changes the bytes the map's keys point into, so it comes last.
  for (size_t i : to_mark) entries[i].MarkDeleted();
  return deleted;
}

CommandResult RunImgDelDup(RunContext& ctx, ImgDirectory& img, const Command&) {
  ctx.Log.LogLine("Deleting duplicate entries in IMG:");
  QUARN_RETURN_IF_ENDED(RequireOpenImg(ctx, img));
  for (const std::string& name : DeleteDuplicates(img.Entries)) {
    ctx.Log.LogLine("- Deleted: " + name);
  }
  return CommandResult::kContinue;
}

}  // namespace quarn
