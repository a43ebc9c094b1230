// `quarn undo` and `quarn history` over real folders: the sample catalogue
// installed and undone byte for byte, a changed file stopping the undo, and
// an install that did not finish stopping the next one.
#include "cli/journal_commands.h"

#include <string>

#include "cli/quarn_cli_fixture.h"
#include "editing/install_log.h"
#include "platform/file_contents.h"
#include "testutil/file_tree.h"
#include "tools/samplegen/sample_catalogue.h"
#include "tools/samplegen/sample_game.h"
#include "undo/journaling_file_system.h"

namespace quarn {
namespace {

// `text` with every run of digits (times, sizes) read as "9", so that a
// listing can be compared whole.
std::string DigitsMasked(const std::string& text) {
  std::string masked;
  for (char c : text) {
    if (c < '0' || c > '9') {
      masked += c;
    } else if (masked.empty() || masked.back() != '9') {
      masked += '9';
    }
  }
  return masked;
}

class JournalCliTest : public QuarnCliTest {
 protected:
  std::string setup() const { return folder_.path() + "setup\\"; }
  std::string Shown(const std::string& path) const {
    return NativePath(path.back() == '\\' ? path.substr(0, path.size() - 1)
                                          : path);
  }
  int Install(std::vector<std::string> more = {}) {
    std::vector<std::string> args = {"install", "--dir", NativePath(setup()),
                                     "--game", NativePath(game())};
    args.insert(args.end(), more.begin(), more.end());
    return Run(args);
  }
  int Game(const std::string& command, std::vector<std::string> more = {}) {
    std::vector<std::string> args = {command, "--game", NativePath(game())};
    args.insert(args.end(), more.begin(), more.end());
    return Run(args);
  }
};

TEST_F(JournalCliTest, UndoPutsTheGameBackUnlessAFileChangedSince) {
  const SampleGameOptions options;
  std::string error;
  ASSERT_TRUE(WriteSampleGame(Shown(game()), options, &error)) << error;
  ASSERT_TRUE(WriteSampleCatalogue(Shown(setup()), options, &error)) << error;
  const auto before = TreeState(*fs_, game());

  ASSERT_EQ(kExitAllDone, Install()) << err_;
  EXPECT_EQ(kExitAllDone, Game("history"));
  // Digits masked: times and the journals' sizes vary.
  const std::string from =
      " from " + DigitsMasked(Shown(setup())) + "  (journal 9.9 KiB)\n";
  const std::string when = "9-9-9 9:9:9  finished    ";
  EXPECT_EQ(when + "X9_LAST (Last touches)" + from + when + "X9 (Road signs)" +
                from + when + "X9 (Kiosk area (the sample mod))" + from,
            DigitsMasked(out_));

  // Another tool writes to a file the install changed: undo changes nothing.
  const std::string dat = game() + "data\\gta_vc.dat";
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(*fs_, dat, &bytes));
  ASSERT_TRUE(WriteWholeFile(*fs_, dat, bytes + "IDE DATA\\MINE.IDE\r\n"));
  const auto installed = TreeState(*fs_, game());
  EXPECT_EQ(kExitFailed, Game("undo"));
  EXPECT_EQ(
      "quarn: these files changed after the install, so nothing was undone "
      "(--force puts them back anyway):\n  " +
          Shown(dat) + "\n",
      err_);
  EXPECT_EQ("", out_);
  EXPECT_TRUE(installed == TreeState(*fs_, game()));

  EXPECT_EQ(kExitAllDone, Game("undo", {"--force"})) << err_;
  EXPECT_NE(
      std::string::npos,
      out_.find("Restored: " + Shown(game() + "models\\gta3.img") + "\n"));
  EXPECT_NE(std::string::npos,
            out_.find("Removed:  " + Shown(game() + "Road Signs.txt") + "\n"));
  EXPECT_EQ("\nUndone: 9 mods; restored 9, removed 9.\n",
            DigitsMasked(out_.substr(out_.rfind("\nUndone:"))));
  EXPECT_TRUE(before == TreeState(*fs_, game())) << "the game is not as it was";
  EXPECT_EQ(kExitAllDone, Game("history"));
  EXPECT_EQ("No installs to undo in " + Shown(game()) + ".\n", out_);
}

std::string FixedClock() { return "2026-12-09 10:00:00"; }

TEST_F(JournalCliTest, AnInstallThatDidNotFinishBlocksTheNext) {
  WriteTestFile(setup() + "QuarnInstall.txt", "COPY a.txt TO a.txt\r\n");
  WriteTestFile(setup() + "a.txt", "mine");
  {
    // A run killed after its first change: its entry never ends.
    JournalingFileSystem crashed(*fs_, FixedClock);
    crashed.FollowGameFolder([this] { return game(); });
    crashed.BeginMod({setup(), "", ""});
    ASSERT_TRUE(WriteWholeFile(crashed, game() + "half.txt", "half"));
  }
  const auto crashed = TreeState(*fs_, game());
  const std::string refusal =
      "quarn: the install of QuarnInstall.txt into " + Shown(game()) +
      " (2026-12-09 10:00:00) did not finish; put the game back first with: "
      "quarn undo --game " +
      Shown(game()) + "\n";
  const std::vector<std::string> installs[] = {{}, {"--no-undo"}};
  for (const std::vector<std::string>& more : installs) {
    EXPECT_EQ(kExitFailed, Install(more));
    EXPECT_EQ(refusal, err_);
    EXPECT_EQ("", out_);
    EXPECT_FALSE(TestPathExists(setup() + kLogFileName));
    EXPECT_TRUE(crashed == TreeState(*fs_, game()));
  }
  // A game the script names is blocked at its first change, with the same
  // message after the log.
  WriteTestFile(setup() + "QuarnInstall.txt",
                "INSTALL PATH " + game() + "\r\nCOPY a.txt TO a.txt\r\n");
  EXPECT_EQ(kExitFailed,
            Run({"install", "--dir", NativePath(setup()), "--scripted"}));
  EXPECT_EQ(refusal, err_);
  EXPECT_NE(std::string::npos, out_.find("The installation failed."));
  EXPECT_TRUE(crashed == TreeState(*fs_, game()));
  fs_->RemoveFile(setup() + kLogFileName);
  WriteTestFile(setup() + "QuarnInstall.txt", "COPY a.txt TO a.txt\r\n");

  EXPECT_EQ(kExitAllDone, Game("history"));
  EXPECT_EQ("2026-12-09 10:00:00  unfinished  QuarnInstall.txt from " +
                Shown(setup()) + "  (journal ",
            out_.substr(0, out_.find("(journal ") + 9));

  // Undo waits for another run too.
  std::unique_ptr<FolderLock> other_run = fs_->LockFolder(game(), nullptr);
  EXPECT_EQ(kExitFailed, Game("undo"));
  EXPECT_EQ("quarn: another run is changing the game in " + NativePath(game()) +
                "; try again when it has finished\n",
            err_);
  other_run.reset();

  EXPECT_EQ(kExitAllDone, Game("undo"));
  EXPECT_EQ("Removed:  " + Shown(game() + "half.txt") +
                "\nUndone: 1 mod; restored 0, removed 1.\n",
            out_);
  EXPECT_EQ(kExitAllDone, Install({"--no-undo"}));
  EXPECT_EQ("mine", ReadTestFile(game() + "A.TXT"));
  EXPECT_EQ(kExitAllDone, Game("undo"));
  EXPECT_EQ("Nothing to undo in " + Shown(game()) + ".\n", out_);
  EXPECT_EQ(kExitAllDone, Install());
  EXPECT_EQ(kExitFailed, Game("undo", {"--mods", "2"}));
  EXPECT_EQ("quarn: the journal of " + Shown(game()) +
                " holds 1 mods, not 2; nothing was undone\n",
            err_);
  EXPECT_EQ(kExitAllDone, Game("history", {"--forget"}));
  EXPECT_EQ("Forgot 1 installed mod; the game stays as it is.\n", out_);
  EXPECT_EQ("mine", ReadTestFile(game() + "A.TXT"));
}

}  // namespace
}  // namespace quarn
