#include "img/img_rebuild_plan.h"

#include <cstring>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "testutil/img_test_game.h"

namespace quarn {
namespace {

constexpr int64_t kSector = 2048;

ImgEntry Record(int32_t offset, int32_t size, const std::string& name_field) {
  const std::string bytes = ImgRecordBytes(offset, size, name_field);
  ImgEntry entry;
  std::memcpy(entry.bytes, bytes.data(), kImgRecordSize);
  return entry;
}

std::string Bytes(const std::vector<ImgEntry>& records) {
  std::string out;
  for (const ImgEntry& r : records) {
    out.append(reinterpret_cast<const char*>(r.bytes), kImgRecordSize);
  }
  return out;
}

std::string Describe(const std::vector<ImgDataMove>& moves) {
  std::string out;
  for (const ImgDataMove& m : moves) {
    out += std::to_string(m.from / kSector) + ">" +
           std::to_string(m.to / kSector) + "x" +
           std::to_string(m.length / kSector) + " ";
  }
  return out;
}

TEST(ImgRebuildPlanTest, QuirksOfTheCompactionAreKept) {
  // A deleted record of size 0 is not reclaimed, so one record too many
  // stays: here the untouched deleted q, still overlapping r's new place.
  // Moved-from slots keep the bytes after the name's first.
  ImgRebuildPlan plan = PlanImgRebuild(
      {Record(0, 0, std::string("\0x", 2)), Record(0, 4, "p.dff"),
       Record(4, 0, "empty"), Record(4, 3, std::string("\0q", 2)),
       Record(7, 2, "r.dff")},
      {}, 9 * kSector);
  EXPECT_EQ(1, plan.reclaimed);
  EXPECT_TRUE(plan.in_place);
  EXPECT_EQ(ImgRecordBytes(0, 4, "p.dff") + ImgRecordBytes(4, 0, "empty") +
                ImgRecordBytes(4, 2, "r.dff") +
                ImgRecordBytes(4, 3, std::string("\0q", 2)),
            Bytes(plan.records));
  EXPECT_EQ("7>4x2 ", Describe(plan.moves));
  EXPECT_EQ(7 * kSector, plan.archive_length);
  plan = PlanImgRebuild({Record(0, 1, "a"), Record(1, 0, std::string("\0", 1)),
                         Record(1, 2, "b.dff")},
                        {}, 3 * kSector);
  EXPECT_EQ(0, plan.reclaimed);
  EXPECT_EQ(ImgRecordBytes(0, 1, "a") + ImgRecordBytes(1, 2, "b.dff") +
                ImgRecordBytes(3, 0, std::string("\0.dff", 5)),
            Bytes(plan.records));

  // Trailing holes: the count drops by the holes that had sectors, so a
  // trailing hole with sectors can stay while one of size 0 goes; the
  // additions then start behind the kept one.
  plan = PlanImgRebuild({Record(0, 2, "a"), Record(2, 5, std::string("\0b", 2)),
                         Record(7, 0, std::string("\0c", 2))},
                        {{"n", 1}}, 7 * kSector);
  EXPECT_EQ(1, plan.reclaimed);
  EXPECT_EQ(ImgRecordBytes(0, 2, "a") +
                ImgRecordBytes(2, 5, std::string("\0b", 2)) +
                ImgRecordBytes(7, 1, "n"),
            Bytes(plan.records));
  EXPECT_TRUE(plan.moves.empty());

  // Everything deleted: the queued files start at the archive's start.
  plan = PlanImgRebuild({Record(0, 3, std::string("\0a", 2)),
                         Record(3, 1, std::string("\0b", 2))},
                        {{"n.dff", 3000}, {"t.txd", 2048}}, 4 * kSector);
  EXPECT_EQ(2, plan.reclaimed);
  EXPECT_EQ(ImgRecordBytes(0, 2, "n.dff") + ImgRecordBytes(2, 1, "t.txd"),
            Bytes(plan.records));
  EXPECT_EQ(3 * kSector, plan.archive_length);
}

TEST(ImgRebuildPlanTest, MovesAreJoinedAndSkippedWhereNothingChanges) {
  // Back to back behind the hole: one copy for the whole run.
  ImgRebuildPlan plan =
      PlanImgRebuild({Record(0, 1, "a"), Record(1, 2, std::string("\0", 1)),
                      Record(3, 1, "b"), Record(4, 5, "c"), Record(9, 1, "d")},
                     {}, 10 * kSector);
  EXPECT_EQ("3>1x7 ", Describe(plan.moves));

  // A gap inside the run splits it; the hole of size 0 at the front moves
  // nothing onto itself.
  plan = PlanImgRebuild({Record(0, 0, std::string("\0", 1)), Record(0, 2, "a"),
                         Record(2, 1, "b"), Record(5, 1, "c")},
                        {}, 6 * kSector);
  EXPECT_EQ("5>3x1 ", Describe(plan.moves));
  EXPECT_TRUE(plan.in_place);
}

TEST(ImgRebuildPlanTest, UnsafeLayoutsArePackedIntoANewArchive) {
  // b's data was appended at the end while its record stayed in place:
  // the queued file would land on it, and the cut would drop it.
  ImgRebuildPlan plan =
      PlanImgRebuild({Record(0, 5, "a"), Record(10, 2, "b"), Record(7, 3, "c")},
                     {{"d", 100}}, 12 * kSector);
  EXPECT_FALSE(plan.in_place);
  EXPECT_EQ(ImgRecordBytes(0, 5, "a") + ImgRecordBytes(5, 2, "b") +
                ImgRecordBytes(7, 3, "c") + ImgRecordBytes(10, 1, "d"),
            Bytes(plan.records));
  EXPECT_EQ("0>0x5 10>5x2 7>7x3 ", Describe(plan.moves));
  EXPECT_EQ(11 * kSector, plan.archive_length);

  // Moving y down to 0 would overwrite the start of z before z is read.
  plan = PlanImgRebuild({Record(0, 2, std::string("\0x", 2)), Record(6, 4, "y"),
                         Record(2, 4, "z")},
                        {}, 10 * kSector);
  EXPECT_FALSE(plan.in_place);
  EXPECT_EQ(1, plan.reclaimed);
  EXPECT_EQ(ImgRecordBytes(0, 4, "y") + ImgRecordBytes(4, 4, "z"),
            Bytes(plan.records));
  EXPECT_EQ("6>0x4 2>4x4 ", Describe(plan.moves));

  // Two records sharing one stretch of data: each gets its own copy.
  plan = PlanImgRebuild({Record(0, 1, std::string("\0", 1)), Record(1, 2, "s"),
                         Record(1, 2, "t")},
                        {}, 3 * kSector);
  EXPECT_FALSE(plan.in_place);
  EXPECT_EQ("1>0x2 1>2x2 ", Describe(plan.moves));

  // A record before the first hole whose data lies where the packed run
  // goes: packing in place would overwrite it with n.
  plan =
      PlanImgRebuild({Record(1, 1, "early"), Record(0, 1, std::string("\0", 1)),
                      Record(3, 1, "m"), Record(4, 1, "n")},
                     {}, 5 * kSector);
  EXPECT_FALSE(plan.in_place);
  EXPECT_EQ(ImgRecordBytes(0, 1, "early") + ImgRecordBytes(1, 1, "m") +
                ImgRecordBytes(2, 1, "n"),
            Bytes(plan.records));
}

TEST(ImgRebuildPlanTest, RefusesWhatCannotBeDoneSafely) {
  // 2 GiB less two sectors of data: one more sector fits, two reach 2 GiB.
  const std::vector<ImgEntry> big = {Record(0, 1048574, "big")};
  const int64_t big_length = 1048574 * kSector;
  EXPECT_EQ(ImgPlanProblem::kNone,
            PlanImgRebuild(big, {{"x", 1}}, big_length).problem);
  EXPECT_EQ(ImgPlanProblem::kTooLarge,
            PlanImgRebuild(big, {{"x", 1}, {"y", 1}}, big_length).problem);
  EXPECT_EQ(ImgPlanProblem::kTooLarge,
            PlanImgRebuild(big, {{"x", 2049}}, big_length).problem);
  EXPECT_EQ(ImgPlanProblem::kTooLarge,
            PlanImgRebuild({}, {{"x", int64_t{1} << 40}}, 0).problem);

  ImgRebuildPlan plan = PlanImgRebuild(
      {Record(0, 1, std::string("\0", 1)), Record(1, -2, "neg")}, {}, kSector);
  EXPECT_EQ(ImgPlanProblem::kBadEntry, plan.problem);
  EXPECT_EQ("neg", plan.problem_entry);

  // Data that has to move but lies past the archive's end.
  plan = PlanImgRebuild(
      {Record(0, 1, std::string("\0", 1)), Record(1, 4, "cut.dff")}, {},
      3 * kSector);
  EXPECT_EQ(ImgPlanProblem::kDataMissing, plan.problem);
  EXPECT_EQ("cut.dff", plan.problem_entry);

  // Data that stays where it is may lie past the end: nothing reads it.
  plan = PlanImgRebuild({Record(0, 1, "a"), Record(1, 4, "b")}, {}, kSector);
  EXPECT_EQ(ImgPlanProblem::kNone, plan.problem);
  EXPECT_EQ(5 * kSector, plan.archive_length);
}

}  // namespace
}  // namespace quarn
