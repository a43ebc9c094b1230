// How a model archive's entries differ between two versions of it, for
// telling a player what an installation would do to the archive.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace quarn {

/// The entries, by name, that differ between two versions, each list in
/// order of upper-cased name, each name as its directory spells it.
struct ImgArchiveDiff {
  std::vector<std::string> added;     ///< names only the new version holds
  std::vector<std::string> replaced;  ///< in both, with other data
  std::vector<std::string> removed;   ///< names only the old version holds
};

/// Compares the archive `old_img` with directory `old_dir` against
/// `new_img` with `new_dir`. Entries are matched by name without regard to
/// case (the first of a name with the first, and so on); a matched entry is
/// replaced when its data differs in length or in any byte. False if a
/// directory cannot be read. `known_same`, when given, tells for a matched
/// entry (old data start, new data start, length in bytes) that its data is
/// the same without reading it.
bool DiffImgArchives(
    File& old_dir, File& old_img, File& new_dir, File& new_img,
    ImgArchiveDiff* diff,
    const std::function<bool(uint64_t, uint64_t, uint64_t)>& known_same = {});

}  // namespace quarn
