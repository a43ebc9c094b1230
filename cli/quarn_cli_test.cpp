#include "cli/quarn_cli.h"

#include <gtest/gtest.h>

#include "cli/quarn_cli_fixture.h"
#include "editing/install_log.h"
#include "platform/faulty_file_system.h"
#include "quarn_version.h"
#include "testutil/expected_log.h"
#include "testutil/stream_text.h"
#include "testutil/test_files.h"
#include "testutil/tree_snapshot.h"
#include "text/ascii.h"

namespace quarn {
namespace {

TEST_F(QuarnCliTest, StdoutCarriesTheLogFileByteForByte) {
  WriteTestFile(mod() + "QuarnInstall.txt", "PRINT hello\r\n");
  EXPECT_EQ(kExitAllDone, Run({"install", "--dir", NativePath(mod()), "--game",
                               NativePath(game())}));
  EXPECT_EQ(ReadTestFile(mod() + kLogFileName), out_);
  const std::string game_line = SelectedGameLine(game());
  EXPECT_EQ(0u, out_.find(game_line + "hello\r\n"));
  EXPECT_EQ("", err_);
}

TEST_F(QuarnCliTest, ExitStatusFollowsTheBanner) {
  WriteTestFile(mod() + "QuarnInstall.txt", "NOPE\r\n");
  EXPECT_EQ(kExitFailed, Run({"install", "--dir", NativePath(mod()), "--game",
                              NativePath(game())}));
  WriteTestFile(mod() + "QuarnInstall.txt", "TERMINATE\r\n");
  EXPECT_EQ(kExitAborted,
            Run({"install", "--dir", NativePath(mod()), "--scripted"}));
  EXPECT_EQ(std::string::npos, out_.find("Selected game path"));
}

// The log says what failed, unchanged; stderr adds why, naming the file as
// the engine spelled it, relative to the game folder. A failure an earlier
// step recorded is not blamed on a command that failed for its own reason.
TEST_F(QuarnCliTest, AFailedRunSaysWhyOnStderr) {
  WriteTestFile(game() + "data\\gta_vc.dat", "IDE a.ide\r\n");
  WriteTestFile(mod() + "QuarnInstall.txt",
                "GTA_VC.DAT OPEN\r\nGTA_VC.DAT ADD IDE b.ide\r\n"
                "GTA_VC.DAT CLOSE\r\nPRINT not reached\r\n");
  const std::vector<std::string> install = {
      "install", "--dir", NativePath(mod()), "--game", NativePath(game())};
  const std::string log = SingleModLog(
      game(),
      {"Opening the 'gta_vc.dat' file... ok", "Adding: IDE B.IDE ... ok",
       "Rewriting the 'gta_vc.dat' file... Can't rewrite file"},
      false);
  // The rewrite writes a temporary file beside the list, flushes it, then
  // renames it.
  FaultPlan failing_write;
  failing_write.changes_under = game() + "data\\gta_vc.dat";
  failing_write.failing_change = 1;
  FaultPlan failing_flush = failing_write;
  failing_flush.failing_change = 2;
  FaultPlan failing_rename = failing_write;
  failing_rename.failing_change = 3;
  const struct {
    FaultPlan plan;
    std::string err;
  } cases[] = {
      {failing_write, "data\\gta_vc.dat.quarn-new: injected write failure\n"},
      {failing_flush, "data\\gta_vc.dat.quarn-new: injected flush failure\n"},
      {failing_rename, "data\\gta_vc.dat: injected rename failure\n"},
  };
  for (const auto& c : cases) {
    FaultyFileSystem faulty(*fs_);
    faulty.Plan(c.plan);
    EXPECT_EQ(kExitFailed, Run(install, faulty));
    EXPECT_EQ(log, out_);
    EXPECT_EQ(c.err, err_);
    EXPECT_EQ("IDE a.ide\r\n", ReadTestFile(game() + "data\\gta_vc.dat"));
  }

  // Outside the game folder the path stays whole; a run that fails for a
  // reason of its own, or succeeds, prints none. The journal's own reads
  // come first while it holds entries.
  ASSERT_EQ(kExitAllDone,
            Run({"history", "--game", NativePath(game()), "--forget"}));
  FaultyFileSystem faulty(*fs_);
  FaultPlan failing_read;
  failing_read.failing_read = 1;
  faulty.Plan(failing_read);
  EXPECT_EQ(kExitFailed, Run(install, faulty));
  EXPECT_EQ("Can't read " + mod() + "QuarnInstall.txt\r\n" + FailedBanner(),
            out_);
  EXPECT_EQ(mod() + "QuarnInstall.txt: injected read failure\n", err_);
  fs_->RemoveFile(mod() + "saved.dat");
  WriteTestFile(mod() + "QuarnInstall.txt", "NOPE\r\n");
  EXPECT_EQ(kExitFailed, Run(install));
  EXPECT_EQ("", err_);
  WriteTestFile(mod() + "QuarnInstall.txt", "PRINT fine\r\n");
  faulty.Plan(failing_read);
  EXPECT_EQ(kExitAllDone, Run(install));
  EXPECT_EQ("", err_);
}

TEST_F(QuarnCliTest, TheCurrentFolderIsTheDefaultInstallerFolder) {
  WriteTestFile(mod() + "QuarnInstall.txt", "PRINT here\r\n");
  ASSERT_TRUE(fs_->ChangeFolder(mod()));
  EXPECT_EQ(kExitAllDone,
            Run({"install", "--game", NativePath(game()), "--dump-ids"}));
  EXPECT_TRUE(TestPathExists(mod() + kLogFileName));
  EXPECT_EQ("Memory object ID dump of used ID's\r\n\r\n",
            ReadTestFile(mod() + "ID dump.txt"));
}

TEST_F(QuarnCliTest, BadUsageIsRefusedBeforeAnythingIsWritten) {
  MakeTestFolder(mod());
  const std::string dir = NativePath(mod());
  const std::vector<std::vector<std::string>> calls = {
      {},
      {"uninstall"},
      {"install", "--dir", dir},
      {"install", "--dir", dir, "--scripted", "--game", NativePath(game())},
      {"install", "--dir", dir, "--game"},
      {"install", "--dir", dir, "--game", NativePath(mod())},
      {"install", "--dir", NativePath(folder_.path() + "nowhere"),
       "--scripted"},
      {"install", "--dir", dir, "--scripted", "--fast"},
  };
  for (const auto& call : calls) {
    EXPECT_EQ(kExitUsage, Run(call)) << ::testing::PrintToString(call);
    EXPECT_EQ(0u, err_.find("quarn: ")) << err_;
    EXPECT_EQ("", out_);
  }
  EXPECT_FALSE(TestPathExists(mod() + kLogFileName));
}

TEST_F(QuarnCliTest, HelpAndVersion) {
  EXPECT_EQ(kExitAllDone, Run({"--help"}));
  EXPECT_EQ(0u, out_.find("usage: quarn install"));
  EXPECT_EQ(kExitAllDone, Run({"--version"}));
  EXPECT_EQ("quarn (Quarn Installer) " QUARN_VERSION "\n", out_);
}

// An installer folder with three mods: X2 and X10 ticked, X3 unticked by
// its name file; each script prints its name and copies a file.
class CatalogueCliTest : public QuarnCliTest {
 protected:
  CatalogueCliTest() {
    WriteMod("X10", "Tenth", "ten");
    WriteMod("X2", "Second", "two");
    WriteMod("X3", "*** Third", "three");
  }

  void WriteMod(const std::string& folder, const std::string& name,
                const std::string& word) {
    WriteTestFile(mod() + folder + "\\InsName.txt", name + "\r\n");
    WriteTestFile(mod() + folder + "\\" + word + ".txt", word);
    WriteTestFile(
        mod() + folder + "\\QuarnInstall.txt",
        "PRINT " + word + "\r\nCOPY " + word + ".txt TO " + word + ".txt\r\n");
  }

  // The log lines of one mod's script, with the three empty lines after it.
  std::string ModLog(const std::string& folder, const std::string& word) {
    const std::string upper = ToUpperAscii(word) + ".TXT";
    return SelectedGameLine(game()) + word + "\r\nCopy " + mod() + folder +
           "\\" + upper + "\r\n to " + game() + upper + "... ok\r\n" +
           "\r\n\r\n\r\n";
  }

  std::string dir() const { return NativePath(mod()); }
};

TEST_F(CatalogueCliTest, TickedModsRunInFolderNumberOrder) {
  EXPECT_EQ(kExitAllDone,
            Run({"install", "--dir", dir(), "--game", NativePath(game())}));
  EXPECT_EQ(ModLog("X2", "two") + ModLog("X10", "ten") + DoneBanner(), out_);
  EXPECT_EQ("", err_);
  EXPECT_EQ("two", ReadTestFile(game() + "TWO.TXT"));
  EXPECT_FALSE(TestPathExists(game() + "THREE.TXT"));
  EXPECT_FALSE(TestPathExists(mod() + "saved.dat"));
}

TEST_F(CatalogueCliTest, SaveRemembersWhatTheNextRunUses) {
  EXPECT_EQ(kExitAllDone,
            Run({"install", "--dir", dir(), "--game", NativePath(game()),
                 "--mods", "x3,X10", "--dump-ids", "--save"}));
  EXPECT_EQ(ModLog("X3", "three") + ModLog("X10", "ten") + DoneBanner() +
                "Dumping object ID's from memory to disk... ok\r\n",
            out_);
  EXPECT_EQ("game path: " + game() +
                "\r\n 0 \r\n 0 \r\n 1 \r\nX2, 0 \r\nX3, 1 \r\nX10, 1 \r\n",
            ReadTestFile(mod() + "saved.dat"));

  // No --game, no --mods, no --dump-ids: all three from saved.dat.
  fs_->RemoveFile(mod() + "ID dump.txt");
  EXPECT_EQ(kExitAllDone, Run({"install", "--dir", dir()}));
  EXPECT_EQ(ModLog("X3", "three") + ModLog("X10", "ten") + DoneBanner() +
                "Dumping object ID's from memory to disk... ok\r\n",
            out_);
  EXPECT_TRUE(TestPathExists(mod() + "ID dump.txt"));

  WriteTestFile(mod() + "saved.dat", "game path: <scripted>\r\n");
  // Scripted: COPY fails, as no script line sets the game folder.
  EXPECT_EQ(kExitFailed, Run({"install", "--dir", dir(), "--mods", "X2"}));
  EXPECT_EQ(0u, out_.find("two\r\n"));
  EXPECT_EQ(std::string::npos, out_.find("Selected game path"));
  EXPECT_EQ("game path: <scripted>\r\n", ReadTestFile(mod() + "saved.dat"));
}

TEST_F(CatalogueCliTest, RefusedCallsWriteNothing) {
  const std::string gone = folder_.path() + "gone\\";
  WriteTestFile(mod() + "saved.dat", "game path: " + gone + "\r\n");
  const std::string help = "\nTry 'quarn --help'.\n";
  struct Case {
    std::vector<std::string> args;
    std::string err;
  };
  const Case cases[] = {
      {{"install", "--dir", dir(), "--save"},
       "quarn: not a game folder (no gta-vc.exe): " + NativePath(gone) + help},
      {{"install", "--dir", dir(), "--scripted", "--mods", "X2,X9", "--save"},
       "quarn: no mod folder 'X9' in the catalogue" + help},
      {{"install", "--dir", dir(), "--scripted", "--mods", "X2,", "--save"},
       "quarn: --mods lists an empty folder name: 'X2,'" + help},
      {{"install", "--dir", NativePath(game()), "--scripted", "--mods", "X1"},
       "quarn: --mods needs mod folders (X1, X2, ... with a QuarnInstall.txt) "
       "in the installer folder" +
           help},
      {{"list", "--game", "x"},
       "quarn: unknown option '--game' for list" + help},
      {{"restore", "--fast"},
       "quarn: restore needs the game folder: --game DIR" + help},
      {{"undo", "--force"},
       "quarn: undo needs the game folder: --game DIR" + help},
      {{"undo", "--game", NativePath(game()), "--mods", "0"},
       "quarn: --mods needs a number of mods from 1 up: '0'" + help},
      {{"history", "--game", NativePath(game()), "--force"},
       "quarn: unknown option '--force' for history" + help},
      {{"history", "--game", NativePath(gone)},
       "quarn: no such folder: " + NativePath(gone) + help},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(kExitUsage, Run(c.args)) << ::testing::PrintToString(c.args);
    EXPECT_EQ(c.err, err_);
    EXPECT_EQ("", out_);
  }
  EXPECT_EQ("game path: " + gone + "\r\n", ReadTestFile(mod() + "saved.dat"));
  EXPECT_FALSE(TestPathExists(mod() + kLogFileName));
  fs_->RemoveFile(mod() + "saved.dat");
  EXPECT_EQ(kExitUsage, Run({"install", "--dir", dir()}));
  EXPECT_EQ(
      "quarn: say where the game is: --game DIR, or --scripted (saved.dat "
      "remembers no game folder)" +
          help,
      err_);
}

TEST_F(CatalogueCliTest, ScanMessagesAndAnUnwritableSaveGoToStderr) {
  WriteMod("X02", "Again two", "again");
  WriteTestFile(mod() + "saved.dat", "");
  ASSERT_TRUE(fs_->SetAttributes(mod() + "saved.dat", kAttrReadOnly));
  EXPECT_EQ(kExitAllDone, Run({"install", "--dir", dir(), "--game",
                               NativePath(game()), "--save"}));
  fs_->SetAttributes(mod() + "saved.dat", 0);
  // Listed sorted, X02 comes first and X10 stops the scan at X2.
  EXPECT_EQ("Conflict between X2 and X02\nquarn: Can't write " +
                NativePath(mod()) + "saved.dat\n",
            err_);
  EXPECT_EQ(ModLog("X02", "again") + ModLog("X10", "ten") + DoneBanner(), out_);
  EXPECT_EQ("", ReadTestFile(mod() + "saved.dat"));
}

// While another run holds the game, an install names the game folder and
// writes nothing at all, whether the folder came from --game or saved.dat;
// a dry run changes nothing either way, so it does not wait.
TEST_F(CatalogueCliTest, AnotherRunsLockStopsTheInstallBeforeItWrites) {
  WriteTestFile(mod() + "saved.dat", "game path: " + game() + "\r\n");
  std::unique_ptr<FolderLock> other_run = fs_->LockFolder(game(), nullptr);
  ASSERT_TRUE(other_run);
  const std::string before = TreeSnapshot(folder_.path());
  const std::string refusal = "quarn: another run is changing the game in " +
                              NativePath(game()) +
                              "; try again when it has finished\n";
  const std::vector<std::string> runs[] = {
      {"install", "--dir", dir(), "--game", NativePath(game()), "--save"},
      {"install", "--dir", dir(), "--dump-ids"},
  };
  for (const std::vector<std::string>& args : runs) {
    EXPECT_EQ(kExitFailed, Run(args)) << ::testing::PrintToString(args);
    EXPECT_EQ(refusal, err_);
    EXPECT_EQ("", out_);
    EXPECT_EQ(before, TreeSnapshot(folder_.path()));
  }
  EXPECT_EQ(kExitAllDone, Run({"install", "--dir", dir(), "--dry-run"}));
  EXPECT_EQ(before, TreeSnapshot(folder_.path()));

  other_run.reset();
  EXPECT_EQ(kExitAllDone, Run({"install", "--dir", dir()}));
  EXPECT_EQ(ModLog("X2", "two") + ModLog("X10", "ten") + DoneBanner(), out_);
  EXPECT_EQ("", ReadTestFile(game() + "QuarnUndo\\run.lock"));
}

TEST_F(CatalogueCliTest, ListShowsRowsAsThePageWould) {
  WriteTestFile(mod() + "saved.dat",
                "game path: <scripted>\r\n 0 \r\n 0 \r\n 0 \r\nX10, 0 \r\n");
  EXPECT_EQ(kExitAllDone, Run({"list", "--dir", dir()}));
  EXPECT_EQ("[x] X2  Second\n[ ] X3   Third\n[ ] X10  Tenth\n", out_);
  EXPECT_EQ("", err_);
  EXPECT_EQ(kExitAllDone, Run({"list", "--dir", NativePath(game())}));
  EXPECT_EQ("", out_);
  EXPECT_EQ("quarn: no mod folder with a QuarnInstall.txt in " +
                NativePath(game()) + "\n",
            err_);
}

}  // namespace
}  // namespace quarn
