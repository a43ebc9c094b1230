// The window program's preview against the headless runner's dry run: the
// same report for the same mods (less the log file, which a preview keeps
// none of), the disk untouched, and the failing command named.
#include "cli/preview_run.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/quarn_cli_fixture.h"
#include "cli/stream_messages.h"
#include "shell/mod_catalogue_build.h"
#include "testutil/linux_refusals.h"
#include "testutil/tree_snapshot.h"

namespace quarn {
namespace {

class PreviewRunTest : public QuarnCliTest {
 protected:
  PreviewRunTest() {
    WriteMod("X1", "First mod", "COPY \"a.txt\" TO \"shared.txt\"", "first");
    WriteMod("X2", "Second mod", "COPY \"b.txt\" TO \"shared.txt\"", "second");
    WriteMod("X3", "Broken mod", "COPY \"missing.txt\" TO \"gone.txt\"", "");
  }

  void WriteMod(const std::string& folder, const std::string& name,
                const std::string& line, const std::string& bytes) {
    WriteTestFile(mod() + folder + "\\InsName.txt", name + "\r\n");
    WriteTestFile(mod() + folder + "\\QuarnInstall.txt",
                  "PRINT " + name + "\r\n" + line + "\r\n");
    if (!bytes.empty()) {
      WriteTestFile(
          mod() + folder + "\\" + (folder == "X1" ? "a" : "b") + ".txt", bytes);
    }
  }

  PreviewRequest Request(const std::vector<bool>& ticks) {
    FILE* sink = tmpfile();
    StreamMessages messages(sink);
    PreviewRequest request;
    request.installer_dir = mod();
    request.catalogue = LoadModCatalogue(*fs_, mod(), messages);
    fclose(sink);
    for (size_t i = 0; i < ticks.size(); ++i) {
      request.catalogue.Entries[i].Selection = ticks[i] ? 1 : 0;
    }
    request.game = game();
    return request;
  }

  // The runner's report for `mods`, without its log file's traces: the
  // line of the file, and on Windows its folder among those no probe could
  // check.
  std::string DryRunReport(const std::string& mods) {
    const std::string report = mod() + "report.txt";
    Run({"install", "--dry-run", "--dir", NativePath(mod()), "--game",
         NativePath(game()), "--mods", mods, "--report-file",
         NativePath(report)});
    std::string text = ReadTestFile(report);
    fs_->RemoveFile(report);
    const size_t log = text.find("QuarnInstall-log.txt");
    const size_t start = text.rfind('\n', log) + 1;
    text.erase(start, text.find('\n', log) + 1 - start);
    const std::string folder = mod().substr(0, mod().size() - 1) + ", ";
    const size_t unprobed = text.find(": " + folder);
    if (unprobed != std::string::npos) text.erase(unprobed + 2, folder.size());
    return text;
  }
};

TEST_F(PreviewRunTest, ReportsWhatTheDryRunReportsAndChangesNothing) {
  ASSERT_EQ(0, Run({"install", "--dir", NativePath(mod()), "--game",
                    NativePath(game()), "--mods", "X1"}));
  // Edited since, so that X1 changes it again: a file written back as it
  // was is no change.
  WriteTestFile(game() + "shared.txt", "edited");
  const std::string expected = DryRunReport("X1,X2");
  ASSERT_NE(std::string::npos, expected.find("Collisions in this run:\n  X2"));
  ASSERT_NE(std::string::npos,
            expected.find("Collisions with installed mods:\n  X1"));
  // The report, and so the preview, ends with the check of the game.
  ASSERT_NE(std::string::npos, expected.find("Check of the game in " + game() +
                                             " as the run would leave it:\n"));
  const std::string before = TreeSnapshot(folder_.path());
  PreviewRun preview(Request({true, true, false}));
  EXPECT_EQ(expected, preview.Run(*fs_));
  EXPECT_EQ(before, TreeSnapshot(folder_.path()));
}

TEST_F(PreviewRunTest, NamesTheFailingModCommandAndMessage) {
  const std::string expected = DryRunReport("X2,X3");
  PreviewRun preview(Request({false, true, true}));
  EXPECT_EQ(expected + "The real run would fail in X3 (Broken mod) at:\n" +
                "  COPY \"missing.txt\" TO \"gone.txt\"\n" + "  Copy " + mod() +
                "X3\\missing.txt\n   to " + game() +
                "gone.txt...\n  Not found: " + mod() + "X3\\missing.txt\n" +
                "  failed\n",
            preview.Run(*fs_));
}

#ifndef _WIN32
// The window's install keeps an undo journal, so the preview counts the
// room of the old bytes it keeps, as the dry run does: a file replaced on
// a disk with room for its new bytes but not for the old ones as well
// fails the preview where it fails the dry run.
TEST_F(PreviewRunTest, CountsTheRoomTheUndoJournalTakes) {
  const std::string piece(24 * 1024, 'p');
  WriteTestFile(mod() + "X1\\a.txt", piece);
  LinuxRefusals refusals;
  if (!refusals.MountSmallDisk(game(), 64)) {
    GTEST_SKIP() << "mounting a tmpfs needs root";
  }
  WriteTestFile(game() + "gta-vc.exe", "exe");
  WriteTestFile(game() + "shared.txt", std::string(piece.size(), 'q'));
  const std::string expected = DryRunReport("X1");
  EXPECT_NE(std::string::npos, err_.find(": No space left on device")) << err_;
  PreviewRun preview(Request({true, false, false}));
  const std::string shown = preview.Run(*fs_);
  // From the mod's section on: the first lists no log file in a preview.
  const std::string from_mod = expected.substr(expected.find("Mod X1"));
  EXPECT_NE(std::string::npos,
            shown.find(from_mod + "The real run would fail in X1 (First mod) "
                                  "at:\n  COPY \"a.txt\" TO \"shared.txt\"\n"))
      << shown;
}
#endif

TEST_F(PreviewRunTest, StoppedBeforeTheFirstCommandGivesNoReport) {
  PreviewRun preview(Request({true, true, false}));
  preview.Stop();
  EXPECT_EQ("", preview.Run(*fs_));
}

}  // namespace
}  // namespace quarn
