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
#include "testutil/linux_refusals.h"
#include "testutil/test_files.h"
#include "testutil/tree_snapshot.h"

namespace quarn {
namespace {

// The check that ends the report of a run into the tests' bare game, which
// has an archive and no lists: `txds` and `undefined` are the figures its
// records make.
std::string BareGameCheck(const std::string& game, int txds, int undefined) {
  return "Check of the game in " + game +
         " as the run would leave it:\n"
         "  data\\default.dat: fails to load: the file is missing or "
         "unreadable [missing-file]\n"
         "  data\\gta_vc.dat: fails to load: the file is missing or "
         "unreadable [missing-file]\n"
         "  data\\object.dat: fails to load: the file is missing or "
         "unreadable [missing-file]\n"
         "  tables: model IDs 0 / 6,500, simple models 0 / 3,885, time models "
         "0 / 385, clump models 0 / 5, weapon models 0 / 37, ped models 0 / "
         "130, vehicle models 0 / 110, 2dfx entries 0 / 1,210, texture "
         "dictionaries " +
         std::to_string(txds) +
         " / 1,385, collision slots 1 / 31, archive models without a "
         "definition " +
         std::to_string(undefined) +
         " / 256, buildings 0 / 7,000, dummies 0 / 2,340, cull zones 0 / 704, "
         "object-info slots 0 / 210, object.dat bytes 0 / 55,000, largest COL "
         "chunk bytes 0 / 55,000\n"
         "  check: the game would crash or fail to load (3 problems that stop "
         "it, 0 warnings)\n"
         "  missing-file: broken before this run\n";
}

#ifdef _WIN32
// Windows has no way to ask, unseen, whether a folder takes a new name.
constexpr bool kFoldersUnprobed = true;
#else
constexpr bool kFoldersUnprobed = false;
#endif

// `report` without the line that lists what the platform could not check,
// which must be there exactly where folders cannot be probed.
std::string WithoutUnprobedLine(const std::string& report) {
  const size_t line = report.find("quarn: this system cannot check");
  EXPECT_EQ(kFoldersUnprobed, line != std::string::npos) << report;
  if (line == std::string::npos) return report;
  return report.substr(0, line) + report.substr(report.find('\n', line) + 1);
}

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
    dry_err_ = WithoutUnprobedLine(err_);
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
          "Collisions with installed mods: none\n" +
          BareGameCheck(g, 1, 3),
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
          "Collisions with installed mods: none\n" +
          BareGameCheck(game(), 2, 2),
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
  EXPECT_EQ(kFoldersUnprobed, !json["unprobed"].empty());

  // A relative path names a file in the folder it was typed in, though the
  // run works in the installer folder.
  ASSERT_TRUE(fs_->ChangeFolder(folder_.path()));
  dry.back() = "relative.json";
  ASSERT_EQ(kExitAllDone, Run(dry));
  EXPECT_EQ(ReadTestFile(report),
            ReadTestFile(folder_.path() + "relative.json"));
  EXPECT_FALSE(TestPathExists(mod() + "relative.json"));

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

// A file held open unshared (the game running: on Windows any other handle,
// on Linux one of this process) cannot be replaced; the dry run fails the
// same COPY with the same reason, and succeeds once the file is let go.
TEST_F(DryRunTest, AFileHeldOpenFailsTheSameCommand) {
  std::unique_ptr<File> held =
      fs_->Open(game() + "readme.txt", OpenMode::kRead, nullptr);
  ASSERT_TRUE(held);
  WriteTestFile(mod() + "QuarnInstall.txt",
                "COPY new.txt TO data\\added.txt\r\n"
                "COPY new.txt TO readme.txt\r\n");
  std::vector<std::string> dry = Install();
  dry.push_back("--dry-run");
  const std::string before = TreeSnapshot(game());
  EXPECT_EQ(kExitFailed, Run(dry));
  EXPECT_EQ(before, TreeSnapshot(game()));
  const std::string dry_out = out_;
  const std::string dry_err = err_;
  EXPECT_EQ(kExitFailed, Run(Install()));
  EXPECT_EQ(out_, dry_out);
  EXPECT_NE(std::string::npos, out_.find("DATA\\ADDED.TXT... ok"));
  EXPECT_EQ(
      "README.TXT: " + fs_->RefusalReason(FsStatus::kSharingViolation) + "\n",
      err_);
  EXPECT_EQ(0u, dry_err.find(err_)) << dry_err;
  held.reset();
  CompareWithRealRun("COPY new.txt TO readme.txt\r\n", kExitAllDone);
}

TEST_F(DryRunTest, BadUsageGetsNoReport) {
  EXPECT_EQ(kExitUsage,
            Run({"install", "--dir", NativePath(mod()), "--dry-run"}));
  EXPECT_EQ(0u, err_.find("quarn: say where the game is"));
  EXPECT_EQ(std::string::npos, err_.find("Dry run"));
  EXPECT_FALSE(TestPathExists(mod() + kLogFileName));
}

#ifndef _WIN32
bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() &&
         text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A script whose change Linux refuses fails the dry run at the same
// command as the real run, with the same log, exit status and reason.
class DryRunRefusalTest : public DryRunTest {
 protected:
  // Runs `script` dry and then for real (with `extra` arguments) and checks
  // both: the same status, the same log, the real run's reason line first
  // on the dry run's standard error, nothing on disk changed by the dry
  // run. Returns the real run's standard error.
  std::string CompareWithRealRun(const std::string& script, int expected,
                                 const std::vector<std::string>& extra = {},
                                 bool same_reason = true) {
    WriteTestFile(mod() + "QuarnInstall.txt", script);
    std::vector<std::string> real = Install();
    real.insert(real.end(), extra.begin(), extra.end());
    std::vector<std::string> dry = real;
    dry.push_back("--dry-run");
    const std::string before = TreeSnapshot(folder_.path());
    EXPECT_EQ(expected, Run(dry)) << out_;
    EXPECT_EQ(before, TreeSnapshot(folder_.path()));
    const std::string dry_out = out_;
    const std::string dry_err = err_;
    EXPECT_EQ(expected, Run(real)) << out_;
    EXPECT_EQ(out_, dry_out);
    if (same_reason) {
      EXPECT_EQ(0u, dry_err.find(err_)) << dry_err << "\nreal run: " << err_;
    }
    return err_;
  }

  LinuxRefusals refusals_;
};

// An immutable file refuses to be replaced and its attributes to be set;
// in an immutable folder no file can be made, not even an editor's
// temporary one; the other files there may still be written.
TEST_F(DryRunRefusalTest, LockedFilesAndFoldersFailWhereTheRealRunFails) {
  WriteTestFile(game() + "data\\gta_vc.dat", "IDE DATA\\DEFAULT.IDE\r\n");
  WriteTestFile(game() + "data\\kept.txt", "kept");
  if (!refusals_.MakeImmutable(game() + "readme.txt")) {
    GTEST_SKIP() << "chattr +i needs root and a disk that keeps the flag";
  }
  const std::string locked = ": Operation not permitted\n";
  EXPECT_PRED2(
      EndsWith,
      CompareWithRealRun("COPY new.txt TO readme.txt\r\n", kExitFailed),
      locked);
  // Opening the archive clears its attributes first.
  ASSERT_TRUE(refusals_.MakeImmutable(game() + "models\\gta3.img"));
  EXPECT_EQ("models\\gta3.img" + locked,
            CompareWithRealRun("COPY new.txt TO data\\one.txt\r\n"
                               "IMG OPENDEF\r\nIMG CLOSE\r\n",
                               kExitFailed));
  EXPECT_NE(std::string::npos, out_.find("DATA\\ONE.TXT... ok"));

  ASSERT_TRUE(refusals_.MakeImmutable(game() + "data"));
  EXPECT_EQ("",
            CompareWithRealRun("COPY new.txt TO new.txt\r\n", kExitAllDone));
  // A copy is made beside the file it replaces.
  EXPECT_EQ(
      "DATA\\KEPT.TXT" + locked,
      CompareWithRealRun("COPY new.txt TO data\\kept.txt\r\n", kExitFailed));
  EXPECT_EQ(
      "DATA\\NEW.TXT: Operation not permitted\n",
      CompareWithRealRun("COPY new.txt TO data\\new.txt\r\n", kExitFailed));
  const std::string reason = CompareWithRealRun(
      "GTA_VC.DAT OPEN\r\nGTA_VC.DAT ADD IDE DATA\\MAPS\\NEW.IDE\r\n"
      "GTA_VC.DAT CLOSE\r\n",
      kExitFailed);
  // The editor's clean-up after the refused temporary file speaks last, in
  // both runs.
  EXPECT_EQ("data\\gta_vc.dat.quarn-new: No such file or directory\n", reason);
}

// A disk too small fails the write that would take it past its room: the
// temporary copy beside a file it replaces counts while the old file is
// still there, and so do the old bytes the undo journal keeps.
TEST_F(DryRunRefusalTest, ADiskTooSmallFailsTheSameWrite) {
  const std::string piece(24 * 1024, 'p');
  WriteTestFile(mod() + "c.bin", piece);
  WriteTestFile(mod() + "a2.bin", std::string(piece.size(), 'q'));
  if (!refusals_.MountSmallDisk(game(), 64)) {
    GTEST_SKIP() << "mounting a tmpfs needs root";
  }
  WriteTestFile(game() + "gta-vc.exe", "exe");
  WriteTestFile(game() + "readme.txt", "read me");
  WriteTestFile(game() + "data\\a.bin", piece);
  // 24 KiB more fit; 24 KiB of the copy beside a.bin do not, nor 24 KiB of
  // a.bin kept by the journal and 24 KiB of the copy.
  const std::string script =
      "COPY c.bin TO data\\c.bin\r\n"
      "COPY a2.bin TO data\\a.bin\r\n";
  EXPECT_EQ("DATA\\A.BIN: No space left on device\n",
            CompareWithRealRun(script, kExitFailed, {"--no-undo"}));
  EXPECT_NE(std::string::npos, out_.find("DATA\\C.BIN... ok"));
  ASSERT_TRUE(fs_->RemoveFile(game() + "data\\c.bin"));
  EXPECT_EQ("", CompareWithRealRun("COPY a2.bin TO data\\a.bin\r\n",
                                   kExitAllDone, {"--no-undo"}));
  // The journal's own small files fill the disk first in the real run, so
  // its reason names one of them.
  WriteTestFile(game() + "data\\a.bin", piece);
  EXPECT_NE(std::string::npos,
            CompareWithRealRun("COPY a2.bin TO data\\a.bin\r\n", kExitFailed,
                               {}, false)
                .find(": No space left on device"));
}
#endif

}  // namespace
}  // namespace quarn
