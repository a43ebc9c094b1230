#include "ide/ide_scan.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ide/scanned_ide_list.h"
#include "testutil/script_run.h"
#include "testutil/test_files.h"
#include "testutil/used_ids.h"
#include "tools/samplegen/sample_game.h"

namespace quarn {
namespace {

// An IDE file with one section of definitions claiming `ids`.
std::string IdeFile(const std::string& section, const std::vector<int>& ids) {
  std::string text = "# made for a test\r\n" + section + "\r\n";
  for (int id : ids) {
    text += std::to_string(id) + ", model" + std::to_string(id) +
            ", generic, 1, 100, 0\r\n";
  }
  return text + "end\r\n";
}

// A game folder ready for a scan, with the log captured; the run itself is
// never started, the scan functions are called directly.
class IdeScanTest : public ::testing::Test {
 protected:
  IdeScanTest() { ctx().GamePath = game(); }

  InstallContext& ctx() { return run_.context(); }
  std::string game() const { return run_.game(); }
  void WriteGameFile(const std::string& relative, const std::string& bytes) {
    WriteTestFile(game() + relative, bytes);
  }
  // What the log showed: the log file itself stays open, unshared, for the
  // whole run.
  std::string Log() const { return run_.window().shown; }
  std::string Scanned(const std::string& relative, const std::string& end) {
    return "-- Scanning IDE file: " + game() + relative + " ... " + end +
           "\r\n";
  }

  ScriptRun run_;
};

const char kScanStart[] =
    "Scanning IDE files...\r\n- Opening the 'gta_vc.dat' file... ok\r\n";
const char kScanEnd[] = "Done scanning IDE files\r\n";

TEST_F(IdeScanTest, FullScanReadsTheListedFilesInOrderThenDefaultIde) {
  WriteGameFile("data\\gta_vc.dat",
                "# IDE DATA\\MAPS\\COMMENTED.IDE\r\n"
                "IMG DATA\\MAPS\\GENERIC.IMG\r\n"
                "IDE DATA\\MAPS\\TWO.IDE\r\n"
                "  ide data\\maps\\one.ide  \r\n"
                "ide\r\n"
                "IDEDATA\\MAPS\\GLUED.IDE\r\n"
                "\tIDE DATA\\MAPS\\TABBED.IDE\r\n"
                "\r\n"
                "COLFILE 0 DATA\\GENERIC.COL\r\n");
  WriteGameFile("data\\maps\\one.ide", IdeFile("objs", {100, 101}));
  WriteGameFile("data\\maps\\two.ide",
                IdeFile("tobj", {200}) + IdeFile("path", {100}) +
                    IdeFile("2dfx", {101}) + IdeFile("peds", {300}) +
                    IdeFile("cars", {400}) + IdeFile("weap", {500}) +
                    IdeFile("hier", {600}));
  WriteGameFile("data\\default.ide", IdeFile("objs", {0, 1}));

  EXPECT_EQ(CommandResult::kContinue, ScanGameIdeFiles(ctx(), ctx()));

  EXPECT_EQ(kScanStart + Scanned("DATA\\MAPS\\TWO.IDE", "ok") +
                Scanned("data\\maps\\one.ide", "ok") +
                Scanned("data\\default.ide", "ok") + kScanEnd,
            Log());
  EXPECT_EQ(std::vector<int>({0, 1, 100, 101, 200, 300, 400, 500, 600}),
            UsedIds(ctx().ObjectIds));
  EXPECT_TRUE(ctx().IdeScanDone);
  EXPECT_EQ(3u, ctx().ScannedIdeList.Count());
}

TEST_F(IdeScanTest, ConflictNamesTheIdAndKeepsWhatWasMarked) {
  WriteGameFile("data\\gta_vc.dat", "IDE DATA\\ONE.IDE\r\n");
  WriteGameFile("data\\one.ide", IdeFile("objs", {7, 250}));
  WriteGameFile("data\\default.ide", IdeFile("cars", {8, 250, 9}));

  EXPECT_EQ(CommandResult::kEndRun, ScanGameIdeFiles(ctx(), ctx()));

  EXPECT_EQ(
      kScanStart + Scanned("DATA\\ONE.IDE", "ok") +
          Scanned("data\\default.ide", "ERROR: Object ID  250 already used"),
      Log());
  EXPECT_EQ(std::vector<int>({7, 8, 250}), UsedIds(ctx().ObjectIds));
  EXPECT_FALSE(ctx().IdeScanDone);
}

TEST_F(IdeScanTest, SameFileReadAgainIsNotAConflictButAnotherSpellingIs) {
  WriteGameFile("data\\one.ide", IdeFile("objs", {5, 6}));
  WriteGameFile("data\\default.ide", IdeFile("objs", {9}));
  // Copied by a mod before the full scan: the scan must not hold the
  // file's own IDs against it, whatever letter case the list uses.
  ASSERT_EQ(CommandResult::kContinue,
            ScanIdeFile(ctx(), ctx(), game() + "data\\one.ide"));
  WriteGameFile("data\\gta_vc.dat",
                "IDE DATA\\ONE.IDE\r\nIDE data\\One.ide\r\n");

  EXPECT_EQ(CommandResult::kContinue, ScanGameIdeFiles(ctx(), ctx()));
  EXPECT_EQ(Scanned("data\\one.ide", "ok") + kScanStart +
                Scanned("DATA\\ONE.IDE", "ok") +
                Scanned("data\\One.ide", "ok") +
                Scanned("data\\default.ide", "ok") + kScanEnd,
            Log());
  EXPECT_EQ(std::vector<int>({5, 6, 9}), UsedIds(ctx().ObjectIds));

  // Only the letter case is ignored: a doubled backslash is another file.
  EXPECT_EQ(CommandResult::kEndRun,
            ScanIdeFile(ctx(), ctx(), game() + "data\\\\one.ide"));
  EXPECT_EQ(Scanned("data\\\\one.ide", "ERROR: Object ID  5 already used"),
            Log().substr(Log().rfind("-- ")));
}

TEST_F(IdeScanTest, LinesEndingInLineFeedAloneAreReadAsLines) {
  WriteGameFile("data\\gta_vc.dat",
                "# list\nIDE DATA\\ONE.IDE\nide data\\two.ide\n");
  WriteGameFile("data\\one.ide", "objs\n10, a\nend\ncars\n11, b\nend\n");
  WriteGameFile("data\\two.ide", "objs\r12, c\rend\r");
  WriteGameFile("data\\default.ide", "");

  EXPECT_EQ(CommandResult::kContinue, ScanGameIdeFiles(ctx(), ctx()));
  EXPECT_EQ(kScanStart + Scanned("DATA\\ONE.IDE", "ok") +
                Scanned("data\\two.ide", "ok") +
                Scanned("data\\default.ide", "ok") + kScanEnd,
            Log());
  EXPECT_EQ(std::vector<int>({10, 11, 12}), UsedIds(ctx().ObjectIds));
}

// Each file alone in a fresh run: which IDs its lines claim.
TEST(IdeScanSections, OnlyDefinitionsOfIdSectionsClaimIds) {
  struct Case {
    const char* content;
    std::vector<int> ids;
  };
  const Case cases[] = {
      {"objs\r\n10\r\nend\r\ntobj\r\n11\r\nend\r\npath\r\n12\r\nend\r\n"
       "2dfx\r\n13\r\nend\r\npeds\r\n14\r\nend\r\ncars\r\n15\r\nend\r\n"
       "weap\r\n16\r\nend\r\nhier\r\n17\r\nend\r\n",
       {10, 11, 14, 15, 16, 17}},
      {"OBJS\r\n10\r\nEnd\r\nCaRs\r\n20\r\nEND\r\n", {10, 20}},
      {"   objs   \r\n10, a\r\n   end\r\n", {10}},
      // A header followed by a tab is no header.
      {"objs\t\r\n10\r\nend\r\n", {}},
      {"anim\r\n10\r\nend\r\n", {}},
      {"10\r\nobjs\r\n11\r\nend\r\n12\r\n", {11}},
      // Without "end" the next header is first a definition (ID 0).
      {"objs\r\n10\r\ncars\r\n20\r\n", {0, 10, 20}},
      {"objs\r\n# 30\r\n   # 31\r\n\r\n32\r\nend\r\n", {32}},
      // Only a "#" in the first place makes a comment.
      {"objs\r\n\t# 30\r\nend\r\n", {0}},
      {"objs\r\n10\r\n\x1a"
       "20\r\nend\r\n",
       {10}},
      {"objs\r\n\"21\", a\r\n 22.5 , b\r\n-1, c\r\nend", {21, 22, 65535}},
  };
  for (const Case& c : cases) {
    ScriptRun run;
    const std::string path = run.game() + "data\\test.ide";
    WriteTestFile(path, c.content);
    EXPECT_EQ(CommandResult::kContinue,
              ScanIdeFile(run.context(), run.context(), path))
        << c.content;
    EXPECT_EQ(c.ids, UsedIds(run.context().ObjectIds)) << c.content;
    EXPECT_EQ("-- Scanning IDE file: " + path + " ... ok\r\n",
              run.window().shown);
  }
}

TEST_F(IdeScanTest, MissingOrUnreadableFilesFailTheScan) {
  EXPECT_EQ(CommandResult::kEndRun, ScanGameIdeFiles(ctx(), ctx()));
  EXPECT_EQ(
      "Scanning IDE files...\r\n"
      "- Opening the 'gta_vc.dat' file... file not found\r\n",
      Log());

  // Hidden and folder entries do not count as files.
  WriteGameFile("data\\gta_vc.dat", "IDE DATA\\A.IDE\r\nIDE DATA\\B.IDE\r\n");
  ASSERT_TRUE(ctx().Fs.SetAttributes(game() + "data\\gta_vc.dat", kAttrHidden));
  EXPECT_EQ(CommandResult::kEndRun, ScanGameIdeFiles(ctx(), ctx()));
  EXPECT_EQ("- Opening the 'gta_vc.dat' file... file not found\r\n",
            Log().substr(Log().rfind("- Opening")));

  ASSERT_TRUE(ctx().Fs.SetAttributes(game() + "data\\gta_vc.dat", 0));
  MakeTestFolder(game() + "data\\a.ide");
  EXPECT_EQ(CommandResult::kEndRun, ScanGameIdeFiles(ctx(), ctx()));
  EXPECT_EQ(Scanned("DATA\\A.IDE", "File not found"),
            Log().substr(Log().rfind("-- ")));

  WriteGameFile("data\\b.ide", IdeFile("objs", {1}));
  EXPECT_EQ(CommandResult::kEndRun,
            ScanIdeFile(ctx(), ctx(), game() + "data\\c.ide"));
  EXPECT_EQ(Scanned("data\\c.ide", "File not found"),
            Log().substr(Log().rfind("-- ")));

  // A file someone else holds open cannot be read.
  std::unique_ptr<File> held =
      ctx().Fs.Open(game() + "data\\b.ide", OpenMode::kRead, nullptr);
  ASSERT_TRUE(held);
  EXPECT_EQ(CommandResult::kEndRun,
            ScanIdeFile(ctx(), ctx(), game() + "data\\b.ide"));
  EXPECT_EQ(Scanned("data\\b.ide", "Can't access file"),
            Log().substr(Log().rfind("-- ")));
}

TEST_F(IdeScanTest, SampleGameScansCleanlyAndMarksEveryPlannedId) {
  SampleGameOptions options;
  options.img_entries = 0;
  options.img_bytes = 0;
  options.backups = false;
  std::string error;
  ASSERT_TRUE(WriteSampleGame(NativePath(game()), options, &error)) << error;

  EXPECT_EQ(CommandResult::kContinue, ScanGameIdeFiles(ctx(), ctx()));
  const std::string log = Log();
  EXPECT_EQ(kScanStart, log.substr(0, std::string(kScanStart).size()));
  EXPECT_EQ(Scanned("data\\default.ide", "ok") + kScanEnd,
            log.substr(log.rfind("-- ")));
  for (const SampleAreaObjects& area : PlanSampleGame(options).areas) {
    for (const SampleObject& object : area.objects) {
      EXPECT_TRUE(ctx().ObjectIds.IsUsed(static_cast<uint16_t>(object.id)))
          << object.id;
    }
  }
}

TEST(ScannedIdeList, GrowsPastAThousandPathsAndIgnoresCase) {
  ScannedIdeList list;
  for (int i = 0; i < 1500; ++i) {
    list.Append("C:\\Game\\data\\maps\\file" + std::to_string(i) + ".ide");
  }
  EXPECT_EQ(1500u, list.Count());
  EXPECT_TRUE(list.Contains("c:\\game\\DATA\\maps\\FILE0.IDE"));
  EXPECT_TRUE(list.Contains("c:\\game\\data\\maps\\file1499.ide"));
  EXPECT_FALSE(list.Contains("c:\\game\\data\\maps\\file1500.ide"));
  EXPECT_FALSE(list.Contains("c:\\game\\data\\maps\\\\file1.ide"));
}

}  // namespace
}  // namespace quarn
