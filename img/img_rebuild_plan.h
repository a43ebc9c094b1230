// What a rebuild of the model archive will do, worked out before a single
// byte moves: the new directory, the data to copy and where the queued files
// go. Planning touches no file, so every refusal leaves the archive intact.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "img/img_directory.h"

namespace quarn {

/// The archive must stay below this many bytes: the game and the directory
/// count positions in signed 32 bits.
inline constexpr int64_t kImgArchiveLimit = int64_t{1} << 31;

/// One stretch of existing archive data the rebuild copies.
struct ImgDataMove {
  int64_t from = 0;    ///< byte position in the archive as it is now
  int64_t to = 0;      ///< byte position in the rebuilt archive
  int64_t length = 0;  ///< bytes, a whole number of sectors
};

/// A queued file as the planner needs to know it.
struct ImgQueuedFile {
  std::string name;    ///< the name its entry gets
  int64_t length = 0;  ///< its bytes, more than 0
};

/// Where a queued file goes in the rebuilt archive.
struct ImgPlannedAddition {
  int64_t position = 0;       ///< byte position of its first byte
  int64_t length = 0;         ///< the file's bytes
  int64_t padded_length = 0;  ///< the length rounded up to whole sectors
};

/// Why a rebuild cannot go ahead.
enum class ImgPlanProblem {
  kNone,
  kTooLarge,        ///< the rebuilt archive would reach kImgArchiveLimit
  kBadEntry,        ///< a kept entry has a negative position or size
  kDataMissing,     ///< data the rebuild must copy lies outside the archive
  kTooManyEntries,  ///< the new directory would pass kImgDirectoryCapacity
};

/// The whole rebuild, ready to run.
struct ImgRebuildPlan {
  /// The new directory: kept records, then one per queued file.
  std::vector<ImgEntry> records;
  /// Existing data to copy, in the order the copies must run; neighbours
  /// that continue each other are joined into one move.
  std::vector<ImgDataMove> moves;
  /// The queued files, in the order given.
  std::vector<ImgPlannedAddition> additions;
  /// Deleted entries whose sectors were given up.
  int32_t reclaimed = 0;
  /// The rebuilt archive's length in bytes.
  int64_t archive_length = 0;
  /// True: the moves run inside the archive itself. False: the layout is
  /// unsafe for that, so the moves copy every kept entry, packed in
  /// directory order, into a new archive beside the old one.
  bool in_place = true;
  ImgPlanProblem problem = ImgPlanProblem::kNone;
  /// The name of the record the problem is about (may be empty).
  std::string problem_entry;
};

/// Plans the rebuild of the directory `entries` over an archive of
/// `archive_length` bytes, appending `queued` (other files first, then
/// textures, as the caller orders them). Holes are squeezed out exactly as
/// the archive's own rebuild always did, unless moving data in place would
/// overwrite data still needed; then the plan packs every kept entry into a
/// new archive instead.
ImgRebuildPlan PlanImgRebuild(const std::vector<ImgEntry>& entries,
                              const std::vector<ImgQueuedFile>& queued,
                              int64_t archive_length);

}  // namespace quarn
