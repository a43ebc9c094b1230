#include "cli/dry_run.h"

#include <gtest/gtest.h>

#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/quarn_cli.h"
#include "cli/quarn_cli_fixture.h"
#include "editing/install_log.h"
#include "testutil/img_test_archive.h"
#include "testutil/test_files.h"
#include "testutil/tree_snapshot.h"

namespace quarn {
namespace {

// A game with a model archive and a mod that changes files, folders and
// the archive; the dry run comes first, the real run after it.
class DryRunTest : public QuarnCliTest {
 protected:
  DryRunTest() {
    WriteTestFile(game() + "readme.txt", "read me");
    MakeTestFolder(game() + "data");
    WriteTestImg(game(), {{0, 1, "a.dff"}, {1, 2, "b.dff"}, {3, 1, "c.txd"}});
    WriteTestFile(mod() + "new.txt", "new text");
    WriteTestFile(mod() + "a.dff", std::string(2048, 'A'));  // as it is
    WriteTestFile(mod() + "b.dff", std::string(3000, 'b'));
    WriteTestFile(mod() + "new.dff", std::string(100, 'n'));
  }
  std::vector<std::string> Install() const {
    return {"install",          "--dir",     NativePath(mod()), "--game",
            NativePath(game()), "--dump-ids"};
  }

  // Runs the script dry, checks that nothing on disk changed, then runs it
  // for real and checks that the log and the exit status were the same.
  void CompareWithRealRun(const std::string& script, int expected_status) {
    WriteTestFile(mod() + "QuarnInstall.txt", script);
    const std::string before = TreeSnapshot(folder_.path());
    std::vector<std::string> dry = Install();
    dry.push_back("--dry-run");
    EXPECT_EQ(expected_status, Run(dry)) << out_;
    EXPECT_EQ(before, TreeSnapshot(folder_.path()));
    dry_out_ = out_;
    dry_err_ = err_;
    EXPECT_EQ(expected_status, Run(Install()));
    EXPECT_EQ(out_, dry_out_);
    EXPECT_EQ(ReadTestFile(mod() + kLogFileName), dry_out_);
    EXPECT_EQ("", err_);
  }

  std::string dry_out_, dry_err_;
};

TEST_F(DryRunTest, SameLogNothingWrittenAndEveryChangeReported) {
  // Clearing the archive's read-only mark is a change too.
  ASSERT_TRUE(fs_->SetAttributes(game() + "models\\gta3.img", kAttrReadOnly));
  CompareWithRealRun(
      "DIR CREATE data\\extra\r\n"
      "COPY new.txt TO readme.txt\r\n"
      "COPY new.txt TO data\\extra\\Added.txt\r\n"
      "IMG OPENDEF\r\n"
      "IMG ADD b.dff\r\n"
      "IMG ADD new.dff\r\n"
      "IMG ADD a.dff\r\n"
      "IMG DELETE c.txd\r\n"
      "IMG CLOSE\r\n",
      kExitAllDone);
  const std::string g = game();
  EXPECT_EQ(
      "Dry run: nothing on disk was changed. A real run would:\n"
      "  create  " +
          g +
          "data\\extra\\  (folder)\n"
          "  create  " +
          g +
          "DATA\\EXTRA\\ADDED.TXT  (none -> 8 bytes)\n"
          "  change  " +
          g +
          "models\\gta3.dir  (96 -> 96 bytes)\n"
          "  change  " +
          g +
          "models\\gta3.img  (8192 -> 8192 bytes, "
          "attributes R -> none)\n"
          "  change  " +
          g +
          "README.TXT  (7 -> 8 bytes)\n"
          "  create  " +
          mod() +
          "ID dump.txt  (none -> 38 bytes)\n"
          "  create  " +
          mod() + "QuarnInstall-log.txt  (none -> " +
          std::to_string(dry_out_.size()) +
          " bytes)\n"
          "models\\gta3.img in " +
          g +
          ": 1 entries added, 1 replaced, 1 removed\n"
          // By name, a.dff is replaced too: the mod's file took its place,
          // though with the same bytes.
          "Mod QuarnInstall.txt, finished:\n"
          "  create  file DATA\\EXTRA\\ADDED.TXT  (none -> 8 bytes)\n"
          "  change  file models\\gta3.dir  (96 -> 96 bytes)\n"
          "  change  file models\\gta3.img  (8192 -> 8192 bytes)\n"
          "  change  file README.TXT  (7 -> 8 bytes)\n"
          "  create  folder data\\extra\n"
          "  replace archive entry b.dff in models\\gta3.img\n"
          "  add     archive entry new.dff in models\\gta3.img\n"
          "  replace archive entry a.dff in models\\gta3.img\n"
          "  remove  archive entry c.txd in models\\gta3.img\n"
          "Collisions in this run: none\n"
          "Collisions with installed mods: none\n",
      dry_err_);
}

TEST_F(DryRunTest, AFailedRunReportsWhatItDidBeforeItFailed) {
  CompareWithRealRun(
      "COPY new.txt TO readme.txt\r\n"
      "IMG OPENDEF\r\n"
      "IMG ADD missing.dff\r\n"
      "IMG CLOSE\r\n",
      kExitFailed);
  EXPECT_NE(std::string::npos, dry_out_.find("The installation failed."));
  EXPECT_EQ(
      "Dry run: nothing on disk was changed. A real run would:\n"
      "  change  " +
          game() + "README.TXT  (7 -> 8 bytes)\n" + "  create  " + mod() +
          "ID dump.txt  (none -> 38 bytes)\n" + "  create  " + mod() +
          "QuarnInstall-log.txt  (none -> " + std::to_string(dry_out_.size()) +
          " bytes)\n"
          "Mod QuarnInstall.txt, failed:\n"
          "  change  file README.TXT  (7 -> 8 bytes)\n"
          "Collisions in this run: none\n"
          "Collisions with installed mods: none\n",
      dry_err_);
}

// The same run's report as JSON, into a file the player names: the same
// facts, field by field, with the archive's entries by name; the file is
// the one thing on disk the dry run writes.
TEST_F(DryRunTest, TheJsonReportHoldsTheSameFactsByName) {
  WriteTestFile(mod() + "QuarnInstall.txt",
                "DIR CREATE data\\extra\r\n"
                "COPY new.txt TO readme.txt\r\n"
                "IMG OPENDEF\r\n"
                "IMG ADD b.dff\r\n"
                "IMG ADD new.dff\r\n"
                "IMG DELETE c.txd\r\n"
                "IMG CLOSE\r\n");
  const std::string report = folder_.path() + "report.json";
  std::vector<std::string> dry = Install();
  dry.insert(dry.end(), {"--dry-run", "--report", "json", "--report-file",
                         NativePath(report)});
  const std::string before = TreeSnapshot(game());
  ASSERT_EQ(kExitAllDone, Run(dry));
  EXPECT_EQ(before, TreeSnapshot(game()));
  EXPECT_EQ("", err_);
  const nlohmann::json json = nlohmann::json::parse(ReadTestFile(report));
  EXPECT_EQ(1, json["format"]);
  EXPECT_EQ("all done", json["outcome"]);
  EXPECT_EQ(0, json["exit_status"]);
  const nlohmann::json& changes = json["changes"];
  ASSERT_EQ(6u, changes.size());
  EXPECT_EQ((nlohmann::json{{"action", "create"},
                            {"kind", "folder"},
                            {"path", game() + "data\\extra"},
                            {"attributes_before", ""},
                            {"attributes_after", ""}}),
            changes[0]);
  EXPECT_EQ((nlohmann::json{{"action", "change"},
                            {"kind", "file"},
                            {"path", game() + "README.TXT"},
                            {"size_before", 7},
                            {"size_after", 8},
                            {"attributes_before", ""},
                            {"attributes_after", ""}}),
            changes[3]);
  EXPECT_TRUE(changes[4]["size_before"].is_null());
  EXPECT_EQ((nlohmann::json::array({{{"game", game()},
                                     {"compared", true},
                                     {"added", {"new.dff"}},
                                     {"replaced", {"b.dff"}},
                                     {"removed", {"c.txd"}}}})),
            json["archives"]);
  EXPECT_FALSE(json["spill_failed"]);

  EXPECT_EQ(kExitUsage, Run({"install", "--dir", NativePath(mod()), "--game",
                             NativePath(game()), "--report", "json"}));
  EXPECT_EQ(
      "quarn: --report and --report-file go with --dry-run\nTry "
      "'quarn --help'.\n",
      err_);
  dry.back() = NativePath(folder_.path() + "absent\\report.json");
  EXPECT_EQ(kExitFailed, Run(dry));
  EXPECT_EQ("quarn: Can't write the report to " + dry.back() + "\n", err_);
}

TEST_F(DryRunTest, BadUsageGetsNoReport) {
  EXPECT_EQ(kExitUsage,
            Run({"install", "--dir", NativePath(mod()), "--dry-run"}));
  EXPECT_EQ(0u, err_.find("quarn: say where the game is"));
  EXPECT_EQ(std::string::npos, err_.find("Dry run"));
  EXPECT_FALSE(TestPathExists(mod() + kLogFileName));
}

}  // namespace
}  // namespace quarn
