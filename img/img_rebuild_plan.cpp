#include "img/img_rebuild_plan.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace quarn {
namespace {

int64_t Bytes(int32_t sectors) {
  return static_cast<int64_t>(sectors) * kImgSectorSize;
}

int32_t Sectors(int64_t bytes) {
  return static_cast<int32_t>(bytes / kImgSectorSize);
}

int64_t RoundUpToSector(int64_t bytes) {
  return (bytes + kImgSectorSize - 1) / kImgSectorSize * kImgSectorSize;
}

// The directory once its holes are squeezed out, and for every kept record
// where its data lies now and where it will lie. Positions are kept in 64
// bits beside the records, whose 32-bit fields could wrap on absurd input.
struct Compaction {
  std::vector<ImgEntry> records;
  std::vector<int64_t> sources;    // byte position of the data now
  std::vector<int64_t> positions;  // byte position in the rebuilt archive
  std::vector<bool> moved;
  int32_t reclaimed = 0;
};

// Squeezes the holes out the way every earlier rebuild of these archives
// did, so that the directory comes out byte for byte as players' tools
// expect it: each hole takes the next live record behind it, whole (bytes
// after its name's NUL included), and leaves that record's slot a hole of
// size 0. Only holes that had sectors count as reclaimed, so a deleted
// record of size 0 leaves one nameless record at the end.
Compaction Compact(const std::vector<ImgEntry>& entries) {
  Compaction c;
  c.records = entries;
  const size_t count = entries.size();
  for (const ImgEntry& entry : entries) {
    c.sources.push_back(Bytes(entry.Offset()));
  }
  c.positions = c.sources;
  c.moved.assign(count, false);

  // Zero means "not set yet", as it always has: the first hole that has a
  // live record behind it sets the start of the packed run.
  int64_t write_position = 0;
  size_t next_live = 0;
  for (size_t i = 0; i < count; ++i) {
    if (!c.records[i].IsHole()) continue;
    if (c.records[i].Size() > 0) ++c.reclaimed;
    if (i + 1 == count) break;
    next_live = std::max(next_live, i + 1);
    while (next_live < count && c.records[next_live].IsHole()) ++next_live;
    if (next_live == count) continue;
    const size_t j = next_live;
    if (write_position == 0) write_position = c.positions[i];

    c.records[i] = c.records[j];
    c.records[i].SetOffset(Sectors(write_position));
    c.sources[i] = c.sources[j];
    c.positions[i] = write_position;
    c.moved[i] = true;
    write_position += Bytes(c.records[j].Size());

    c.records[j].MarkDeleted();
    c.records[j].SetSize(0);
    c.records[j].SetOffset(Sectors(write_position));
    c.sources[j] = write_position;
    c.positions[j] = write_position;
    c.moved[j] = false;
  }
  const size_t kept = count - static_cast<size_t>(c.reclaimed);
  c.records.resize(kept);
  c.sources.resize(kept);
  c.positions.resize(kept);
  c.moved.resize(kept);
  return c;
}

int64_t DataLength(const Compaction& c, size_t k) {
  return Bytes(c.records[k].Size());
}

// Index of the first kept record whose data cannot be described, or -1.
int64_t FindBadRecord(const Compaction& c) {
  for (size_t k = 0; k < c.records.size(); ++k) {
    const int32_t size = c.records[k].Size();
    if (size < 0 || (size > 0 && c.sources[k] < 0)) {
      return static_cast<int64_t>(k);
    }
  }
  return -1;
}

// Where the written layout puts the first queued file: the end of the last
// kept record, or the archive's start when no record is kept.
int64_t AdditionsStartInPlace(const Compaction& c) {
  if (c.records.empty()) return 0;
  const size_t last = c.records.size() - 1;
  return c.positions[last] + DataLength(c, last);
}

// The moves run in directory order, each front to back. That is safe when
// every move goes towards the start and reads data lying after everything
// an earlier move read: then no write reaches data still to be read.
bool MovesRunSafelyInPlace(const Compaction& c) {
  int64_t end_of_data_read = std::numeric_limits<int64_t>::min();
  for (size_t k = 0; k < c.records.size(); ++k) {
    const int64_t length = DataLength(c, k);
    if (!c.moved[k] || length == 0) continue;
    if (c.positions[k] < 0 || c.positions[k] > c.sources[k]) return false;
    if (c.sources[k] < end_of_data_read) return false;
    end_of_data_read = c.sources[k] + length;
  }
  return true;
}

// No two kept entries share a sector afterwards, and the queued files start
// behind all of them (otherwise they, or the final cut, would destroy one).
// Nameless records that stay hold deleted data: nothing to protect.
bool LayoutKeepsEveryEntry(const Compaction& c, int64_t additions_start) {
  if (additions_start < 0) return false;
  std::vector<std::pair<int64_t, int64_t>> ranges;
  for (size_t k = 0; k < c.records.size(); ++k) {
    const int64_t length = DataLength(c, k);
    if (length > 0 && !c.records[k].IsHole()) {
      ranges.emplace_back(c.positions[k], c.positions[k] + length);
    }
  }
  std::sort(ranges.begin(), ranges.end());
  int64_t end_so_far = 0;
  for (const auto& range : ranges) {
    if (range.first < end_so_far) return false;
    end_so_far = range.second;
  }
  return end_so_far <= additions_start;
}

// Every kept record back to back in directory order from the archive's
// start; the kept data is copied, so its old place does not matter.
int64_t PackFromStart(Compaction* c) {
  int64_t position = 0;
  for (size_t k = 0; k < c->records.size(); ++k) {
    c->positions[k] = position;
    c->moved[k] = true;
    position += DataLength(*c, k);
  }
  return position;
}

// True when record k's data has to be copied: inside the archive, data that
// already lies where it belongs stays; into a new archive, all of it goes.
bool NeedsCopy(const Compaction& c, size_t k, bool in_place) {
  if (!c.moved[k] || DataLength(c, k) == 0) return false;
  return !in_place || c.sources[k] != c.positions[k];
}

// The copies the plan needs, in directory order; copies that continue each
// other become one.
std::vector<ImgDataMove> CollectMoves(const Compaction& c, bool in_place) {
  std::vector<ImgDataMove> moves;
  for (size_t k = 0; k < c.records.size(); ++k) {
    if (!NeedsCopy(c, k, in_place)) continue;
    const int64_t length = DataLength(c, k);
    if (!moves.empty()) {
      ImgDataMove& last = moves.back();
      if (last.from + last.length == c.sources[k] &&
          last.to + last.length == c.positions[k]) {
        last.length += length;
        continue;
      }
    }
    moves.push_back({c.sources[k], c.positions[k], length});
  }
  return moves;
}

// Index of the first record whose data must be read but lies outside an
// archive of `archive_length` bytes, or -1.
int64_t FindMissingData(const Compaction& c, bool in_place,
                        int64_t archive_length) {
  for (size_t k = 0; k < c.records.size(); ++k) {
    if (!NeedsCopy(c, k, in_place)) continue;
    if (c.sources[k] + DataLength(c, k) > archive_length) {
      return static_cast<int64_t>(k);
    }
  }
  return -1;
}

ImgRebuildPlan Refuse(ImgRebuildPlan plan, ImgPlanProblem problem,
                      const std::string& entry) {
  plan.problem = problem;
  plan.problem_entry = entry;
  return plan;
}

}  // namespace

ImgRebuildPlan PlanImgRebuild(const std::vector<ImgEntry>& entries,
                              const std::vector<ImgQueuedFile>& queued,
                              int64_t archive_length) {
  ImgRebuildPlan plan;
  Compaction c = Compact(entries);
  plan.reclaimed = c.reclaimed;

  const int64_t bad = FindBadRecord(c);
  if (bad >= 0) {
    return Refuse(std::move(plan), ImgPlanProblem::kBadEntry,
                  c.records[bad].Name());
  }

  int64_t position = AdditionsStartInPlace(c);
  plan.in_place =
      MovesRunSafelyInPlace(c) && LayoutKeepsEveryEntry(c, position);
  if (!plan.in_place) position = PackFromStart(&c);

  const int64_t missing = FindMissingData(c, plan.in_place, archive_length);
  if (missing >= 0) {
    return Refuse(std::move(plan), ImgPlanProblem::kDataMissing,
                  c.records[missing].Name());
  }
  plan.moves = CollectMoves(c, plan.in_place);

  for (size_t k = 0; k < c.records.size(); ++k) {
    c.records[k].SetOffset(Sectors(c.positions[k]));
  }
  plan.records = std::move(c.records);

  for (const ImgQueuedFile& file : queued) {
    const int64_t padded = RoundUpToSector(file.length);
    plan.additions.push_back({position, file.length, padded});
    ImgEntry record;
    record.SetName(file.name);
    record.SetOffset(Sectors(position));
    record.SetSize(Sectors(padded));
    plan.records.push_back(record);
    position += padded;
    if (position >= kImgArchiveLimit) break;
  }
  plan.archive_length = position;
  if (position >= kImgArchiveLimit) {
    return Refuse(std::move(plan), ImgPlanProblem::kTooLarge, std::string());
  }
  // A directory the archive commands could not open again would lock the
  // player out of every later install.
  if (plan.records.size() > kImgDirectoryCapacity) {
    return Refuse(std::move(plan), ImgPlanProblem::kTooManyEntries,
                  std::string());
  }
  return plan;
}

}  // namespace quarn
