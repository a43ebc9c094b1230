#include "img/img_verify.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "testutil/expected_log.h"
#include "testutil/img_test_archive.h"
#include "testutil/script_run.h"
#include "testutil/test_files.h"

namespace quarn {
namespace {

const std::vector<std::string> kOpenedThree = {"Reading IMG...", "Indexes:  3"};

std::vector<std::string> Concat(std::vector<std::string> a,
                                const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(ImgVerifyTest, SoundDirectoryPassesAndIsDumpedEachTime) {
  ScriptRun run;
  WriteTestImg(run.game(),
               {{0, 10, "a.dff"}, {10, 2, "b.dff"}, {12, 1, "c.txd"}});
  WriteTestFile(run.game() + "models\\dump.txt", "an older and longer dump");
  run.WriteScript("IMG OPENDEF\nIMG VERIFY\nIMG DELETE c.txd\nimg verify");

  const std::vector<std::string> sound_checks = {
      "Checking for null objects: none found",
      "Checking for address 0: none found",
      "Checking for invalid addresses: none found",
      "Checking if sizes and addresses match up: no problem",
      "Checking IMG size: ok",
      "Done verify",
      "Dumping .dir memory to disk...",
      "done dumping"};
  std::vector<std::string> expected = kOpenedThree;
  expected = Concat(expected, {"Verifying DIR file:", "- names ok",
                               "- no duplicate objects found"});
  expected = Concat(expected, sound_checks);
  // A deleted entry keeps its place, so the size checks still pass.
  expected =
      Concat(expected, {"Deleting object c.txd ... ok", "Verifying DIR file:",
                        "- Nameless (or deleted) object found:  1",
                        "- no duplicate objects found"});
  expected = Concat(expected, sound_checks);
  EXPECT_EQ(SingleModLog(run.game(), expected, true), run.Run());
  EXPECT_EQ(
      "Index Address Size Name\r\n"
      " 0    0    10  20480   a.dff\r\n"
      " 1    10    2  4096   b.dff\r\n"
      " 2    12    1  2048   \r\n",
      ReadTestFile(run.game() + "models\\dump.txt"));
}

TEST(ImgVerifyTest, DuplicatesAreCountedByExactName) {
  ScriptRun run;
  WriteTestImg(run.game(), {{0, 1, "a.dff"},
                            {1, 1, "A.DFF"},
                            {2, 1, "a.dff"},
                            {3, 1, "b.dff"},
                            {4, 1, "a.dff"}});
  run.WriteScript("IMG OPENDEF\nIMG VERIFY");
  const std::string log = run.Run();
  EXPECT_NE(std::string::npos,
            log.find("\r\n- names ok\r\n- Duplicate objects found:  3\r\n"))
      << log;
}

TEST(ImgVerifyTest, EveryKindOfDamageIsReported) {
  ScriptRun run;
  WriteTestImg(run.game(),
               {{0, 2, "a.dff"},
                {2, 0, "b.dff"},
                {2, 3, "c.dff"},
                {0, 1, "d.dff"},
                {6, 1, "e.dff"}},
               1234567);
  run.WriteScript("IMG OPENDEF\nIMG VERIFY");
  EXPECT_EQ(SingleModLog(run.game(),
                         {"Reading IMG...",
                          "Indexes:  5",
                          "Verifying DIR file:",
                          "- names ok",
                          "- no duplicate objects found",
                          "Checking for null objects:  ",
                          "- Null object found: ",
                          "-- Index: 1",
                          "-- Name: b.dff",
                          "-- Address:  2",
                          "-- Size:  0",
                          "Checking for address 0:  ",
                          "- Object with address 0 found:",
                          "-- Index: 3",
                          "-- Name: d.dff",
                          "-- Address:  0",
                          "-- Size:  1",
                          "Checking for invalid addresses:  ",
                          "- Objects with invalid address found: ",
                          "-- Last index:  3  First index:  0",
                          "-- Last name: d.dff First name: a.dff",
                          "-- Last address:  0 First address:  0",
                          "-- Last size:  1 First size:  2",
                          "Checking if sizes and addresses match up:  ",
                          "- Sizes and addresses don't match up",
                          "Checking IMG size:  ",
                          "Size of IMG doesn't match the DIR.",
                          "DIR: 14,336",
                          "LOF: 1,234,567",
                          "Done verify",
                          "Dumping .dir memory to disk...",
                          "done dumping"},
                         true),
            run.Run());
}

TEST(ImgVerifyTest, AddressOrderReportsOnlyTheFirstOffendingIndex) {
  ScriptRun run;
  // Entry 0 has three later entries at or before it; entry 2 has two more
  // that are not reported.
  WriteTestImg(run.game(),
               {{5, 1, "a.dff"},
                {3, 1, "b.dff"},
                {9, 1, "c.dff"},
                {5, 1, "d.dff"},
                {-4, 1, "e.dff"}},
               0);
  run.WriteScript("IMG OPENDEF\nIMG VERIFY");
  const std::string log = run.Run();
  const std::string expected =
      JoinLinesCrLf({"Checking for invalid addresses:  ",
                     "- Objects with invalid address found: ",
                     "-- Last index:  1  First index:  0",
                     "-- Last name: b.dff First name: a.dff",
                     "-- Last address:  3 First address:  5",
                     "-- Last size:  1 First size:  1", " ",
                     "- Objects with invalid address found: ",
                     "-- Last index:  3  First index:  0",
                     "-- Last name: d.dff First name: a.dff",
                     "-- Last address:  5 First address:  5",
                     "-- Last size:  1 First size:  1", " ",
                     "- Objects with invalid address found: ",
                     "-- Last index:  4  First index:  0",
                     "-- Last name: e.dff First name: a.dff",
                     "-- Last address: -4 First address:  5",
                     "-- Last size:  1 First size:  1",
                     "Checking if sizes and addresses match up:  "});
  EXPECT_NE(std::string::npos, log.find(expected)) << log;
  EXPECT_NE(std::string::npos,
            log.find("Checking IMG size:  \r\nSize of IMG doesn't match the "
                     "DIR.\r\nDIR: -6,144\r\nLOF: 0\r\n"))
      << log;
}

TEST(ImgVerifyTest, EmptyDirectoryExpectsAnEmptyArchive) {
  ScriptRun run;
  WriteTestImg(run.game(), {});
  run.WriteScript("IMG OPENDEF\nIMG VERIFY");
  EXPECT_EQ(
      SingleModLog(run.game(),
                   {"Reading IMG...", "Indexes:  0", "Verifying DIR file:",
                    "- names ok", "- no duplicate objects found",
                    "Checking for null objects: none found",
                    "Checking for address 0: none found",
                    "Checking for invalid addresses: none found",
                    "Checking if sizes and addresses match up: no problem",
                    "Checking IMG size: ok", "Done verify",
                    "Dumping .dir memory to disk...", "done dumping"},
                   true),
      run.Run());
  EXPECT_EQ("Index Address Size Name\r\n",
            ReadTestFile(run.game() + "models\\dump.txt"));
}

TEST(ImgVerifyTest, ClosedArchiveOrUnwritableDumpFailsTheRun) {
  {
    ScriptRun run;
    run.WriteScript("IMG VERIFY");
    EXPECT_EQ(
        SingleModLog(run.game(), {"Verifying DIR file:", "ERROR: IMG not open"},
                     false),
        run.Run());
  }
  {
    ScriptRun run;
    WriteTestImg(run.game(), {{0, 1, "a.dff"}});
    MakeTestFolder(run.game() + "models\\dump.txt");
    run.WriteScript("IMG OPENDEF\nIMG VERIFY");
    const std::string log = run.Run();
    EXPECT_NE(std::string::npos,
              log.find("Done verify\r\nDumping .dir memory to disk...\r\n \r\n"
                       "-----"))
        << log;
    EXPECT_NE(std::string::npos, log.find("The script failed.")) << log;
  }
}

// The checks as the pairwise comparisons define them, to hold the faster
// ones against.
int64_t PairwiseDuplicates(const std::vector<ImgEntry>& entries) {
  int64_t pairs = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    for (size_t j = i + 1; j < entries.size(); ++j) {
      if (!entries[i].IsHole() && entries[i].Name() == entries[j].Name()) {
        ++pairs;
      }
    }
  }
  return pairs;
}

bool PairwiseAddressFault(const std::vector<ImgEntry>& entries,
                          AddressOrderFault* fault) {
  for (size_t i = 0; i + 1 < entries.size(); ++i) {
    fault->first = i;
    fault->later.clear();
    for (size_t j = i + 1; j < entries.size(); ++j) {
      if (entries[j].Offset() <= entries[i].Offset()) fault->later.push_back(j);
    }
    if (!fault->later.empty()) return true;
  }
  return false;
}

TEST(ImgVerifyTest, FastChecksAgreeWithPairwiseComparison) {
  std::mt19937 random(20261207);
  const char* names[] = {"a.dff", "A.DFF", "b.dff", "c.txd", "", "d.dff"};
  for (int round = 0; round < 500; ++round) {
    std::vector<ImgEntry> entries(random() % 40);
    for (ImgEntry& entry : entries) {
      entry.SetName(names[random() % 6]);
      entry.SetOffset(static_cast<int32_t>(random() % 50) - 5);
    }
    // Half the rounds keep offsets ascending, as sound directories do.
    if (round % 2 == 0) {
      for (size_t i = 0; i < entries.size(); ++i) {
        entries[i].SetOffset(static_cast<int32_t>(i * 3 + random() % 3));
      }
    }
    EXPECT_EQ(PairwiseDuplicates(entries), CountDuplicatePairs(entries));
    AddressOrderFault expected;
    AddressOrderFault found;
    const bool expected_fault = PairwiseAddressFault(entries, &expected);
    ASSERT_EQ(expected_fault, FindAddressOrderFault(entries, &found));
    if (expected_fault) {
      EXPECT_EQ(expected.first, found.first);
      EXPECT_EQ(expected.later, found.later);
    }
  }
}

}  // namespace
}  // namespace quarn
