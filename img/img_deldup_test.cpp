#include "img/img_deldup.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "testutil/expected_log.h"
#include "testutil/img_test_archive.h"
#include "testutil/script_run.h"

namespace quarn {
namespace {

std::vector<std::string> Names(const std::vector<ImgEntry>& entries) {
  std::vector<std::string> names;
  for (const ImgEntry& entry : entries) {
    names.push_back(entry.IsHole() ? "-" : entry.Name());
  }
  return names;
}

TEST(ImgDelDupTest, KeepsTheLastOfEveryExactName) {
  ScriptRun run;
  WriteTestImg(run.game(), {{0, 1, "a.dff"},
                            {1, 1, "A.DFF"},
                            {2, 1, "a.dff"},
                            {3, 1, "b.dff"},
                            {4, 1, "a.dff"},
                            {5, 1, "b.dff"},
                            {6, 1, "c.dff"}});
  run.WriteScript("IMG OPENDEF\nIMG DELDUP\nIMG DELDUP\nIMG VERIFY");
  const std::string log = run.Run();
  // The group whose kept entry comes last is reported first.
  EXPECT_NE(std::string::npos,
            log.find(JoinLinesCrLf(
                {"Indexes:  7", "Deleting duplicate entries in IMG:",
                 "- Deleted: b.dff", "- Deleted: a.dff", "- Deleted: a.dff",
                 "Deleting duplicate entries in IMG:", "Verifying DIR file:",
                 "- Nameless (or deleted) object found:  3",
                 "- no duplicate objects found"})))
      << log;
  EXPECT_EQ((std::vector<std::string>{"-", "A.DFF", "-", "-", "a.dff", "b.dff",
                                      "c.dff"}),
            Names(run.context().Img.Entries));
  EXPECT_EQ(2, run.context().Img.Entries[2].Offset());
}

TEST(ImgDelDupTest, ClosedArchiveFailsTheRun) {
  ScriptRun run;
  run.WriteScript("IMG DELDUP");
  EXPECT_EQ(
      SingleModLog(
          run.game(),
          {"Deleting duplicate entries in IMG:", "ERROR: IMG not open"}, false),
      run.Run());
}

// Removal as comparing every entry with all entries before it defines it.
std::vector<std::string> PairwiseDeleteDuplicates(
    std::vector<ImgEntry>& entries) {
  std::vector<std::string> deleted;
  for (size_t i = entries.size(); i-- > 1;) {
    if (entries[i].IsHole()) continue;
    for (size_t j = i; j-- > 0;) {
      if (entries[j].Name() != entries[i].Name()) continue;
      deleted.push_back(entries[j].Name());
      entries[j].MarkDeleted();
    }
  }
  return deleted;
}

TEST(ImgDelDupTest, AgreesWithPairwiseComparison) {
  std::mt19937 random(7122026);
  const char* names[] = {"a.dff",
                         "A.DFF",
                         "b.dff",
                         "c.txd",
                         "",
                         "d.dff",
                         "abcdefghijklmnopqrstuvw"};
  for (int round = 0; round < 500; ++round) {
    std::vector<ImgEntry> entries(random() % 40);
    for (size_t i = 0; i < entries.size(); ++i) {
      entries[i].SetName(names[random() % 7]);
      entries[i].SetOffset(static_cast<int32_t>(i));
    }
    std::vector<ImgEntry> expected = entries;
    const std::vector<std::string> expected_log =
        PairwiseDeleteDuplicates(expected);
    EXPECT_EQ(expected_log, DeleteDuplicates(entries));
    for (size_t i = 0; i < entries.size(); ++i) {
      ASSERT_EQ(0, memcmp(expected[i].bytes, entries[i].bytes, kImgRecordSize))
          << "round " << round << " entry " << i;
    }
  }
}

}  // namespace
}  // namespace quarn
