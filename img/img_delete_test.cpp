#include "img/img_delete.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testutil/expected_log.h"
#include "testutil/img_test_archive.h"
#include "testutil/script_run.h"

namespace quarn {
namespace {

// "name" per entry, "-" for a hole; a hole must keep offset and size.
std::vector<std::string> Names(const ImgDirectory& img) {
  std::vector<std::string> names;
  for (const ImgEntry& entry : img.Entries) {
    names.push_back(entry.IsHole() ? "-" : entry.Name());
  }
  return names;
}

const std::vector<TestImgRecord> kFive = {{0, 1, "a.dff"},
                                          {1, 2, "B.dff"},
                                          {3, 1, "c.txd"},
                                          {4, 3, "b.DFF"},
                                          {7, 1, "e.dff"}};

// Runs `script` after opening the five-entry archive; returns the log.
std::string RunOnFive(ScriptRun& run, const std::string& script) {
  WriteTestImg(run.game(), kFive);
  run.WriteScript("IMG OPENDEF\n" + script);
  return run.Run();
}

TEST(ImgDeleteTest, MarksEveryMatchAndGoesOnWhenNothingMatches) {
  ScriptRun run;
  EXPECT_EQ(SingleModLog(run.game(),
                         {"Reading IMG...", "Indexes:  5",
                          "Deleting object b.dff ... ok",
                          "Deleting object nothing.dff ... not found",
                          "Deleting object B.DFF ... not found", "after"},
                         true),
            RunOnFive(run,
                      "img delete b.dff\nIMG DELETE nothing.dff\n"
                      "IMG DELETE B.DFF\nPRINT after"));
  EXPECT_EQ((std::vector<std::string>{"a.dff", "-", "c.txd", "-", "e.dff"}),
            Names(run.context().Img));
  EXPECT_EQ(1, run.context().Img.Entries[1].Offset());
  EXPECT_EQ(3, run.context().Img.Entries[3].Size());
}

TEST(ImgDeleteTest, ClosedArchiveFailsTheRun) {
  ScriptRun run;
  run.WriteScript("IMG DELETE a.dff");
  EXPECT_EQ(SingleModLog(run.game(),
                         {"Deleting object a.dff ...  ", "ERROR: IMG not open"},
                         false),
            run.Run());
}

TEST(ImgDelFromTest, MarksTheWholeRunBetweenTheTwoNames) {
  {
    ScriptRun run;
    EXPECT_EQ(SingleModLog(run.game(), {"Reading IMG...", "Indexes:  5"}, true),
              RunOnFive(run, "IMG DELFROM B.DFF to E.dff"));
    // The first B.dff starts the run; everything up to e.dff goes.
    EXPECT_EQ((std::vector<std::string>{"a.dff", "-", "-", "-", "-"}),
              Names(run.context().Img));
  }
  {
    ScriptRun run;
    RunOnFive(run, "IMG DELFROM a.dff TO c.txd");
    EXPECT_EQ((std::vector<std::string>{"-", "-", "-", "b.DFF", "e.dff"}),
              Names(run.context().Img));
  }
}

TEST(ImgDelFromTest, RefusesBadRangesWithUpperCasedNames) {
  struct Case {
    const char* line;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"IMG DELFROM c.txd TO a.dff", {"ERROR: objects in wrong order"}},
      {"IMG DELFROM c.txd TO C.TXD", {"ERROR: objects in wrong order"}},
      {"IMG DELFROM a.dff", {" ", "no object specified."}},
      {"IMG DELFROM a.dff TOe.dff", {" ", "no object specified."}},
      {"IMG DELFROM x.dff TO a.dff", {"ERROR: X.DFF not found"}},
      {"IMG DELFROM a.dff TO y.dff", {"ERROR: Y.DFF not found"}},
  };
  for (const Case& c : cases) {
    ScriptRun run;
    std::vector<std::string> expected = {"Reading IMG...", "Indexes:  5"};
    expected.insert(expected.end(), c.messages.begin(), c.messages.end());
    EXPECT_EQ(SingleModLog(run.game(), expected, false), RunOnFive(run, c.line))
        << c.line;
    EXPECT_EQ(
        (std::vector<std::string>{"a.dff", "B.dff", "c.txd", "b.DFF", "e.dff"}),
        Names(run.context().Img))
        << c.line;
  }
  ScriptRun run;
  run.WriteScript("IMG DELFROM a.dff TO b.dff");
  EXPECT_EQ(SingleModLog(run.game(), {" ", "ERROR: IMG not open"}, false),
            run.Run());
}

TEST(ImgDelFromTest, HolesAreNeitherEndOfARange) {
  // A deleted entry cannot be found again by its old name.
  ScriptRun run;
  EXPECT_EQ(
      SingleModLog(run.game(),
                   {"Reading IMG...", "Indexes:  5",
                    "Deleting object a.dff ... ok", "ERROR: A.DFF not found"},
                   false),
      RunOnFive(run, "IMG DELETE a.dff\nIMG DELFROM a.dff TO e.dff"));
}

}  // namespace
}  // namespace quarn
