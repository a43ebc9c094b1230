#include "run/runner.h"

#include <gtest/gtest.h>

#include "testutil/expected_log.h"
#include "testutil/script_run.h"

namespace quarn {
namespace {

TEST(RunnerTest, SingleScriptWithBuiltinCommands) {
  ScriptRun run;
  run.WriteScript(
      "; a mod for testing\n"
      "\n"
      "print   Hello,    world   ; greeting\n"
      "   \n"
      "Print\n"
      "cls\n"
      "PRINT after clearing");
  EXPECT_EQ(SelectedGameLine(run.game()) +
                "Hello, world\r\n \r\nafter clearing\r\n" + DoneBanner(),
            run.Run());
  EXPECT_EQ("after clearing\r\n" + DoneBanner(), run.window().shown);
  EXPECT_EQ(RunState::Done, run.context().RunState);
  EXPECT_TRUE(run.context().WorkerFinished);
}

TEST(RunnerTest, UnknownCommandsFailTheRun) {
  const char* const lines[] = {"IMG ADD", "PRINT\tx", "PRINTX", "FLY AWAY"};
  for (const char* line : lines) {
    ScriptRun run;
    run.WriteScript(std::string(line) + "\nPRINT never");
    EXPECT_EQ(SelectedGameLine(run.game()) + "Unknown command: " + line +
                  "\r\n" + FailedBanner(),
              run.Run())
        << line;
    EXPECT_EQ(RunState::Running, run.context().RunState);
  }
}

TEST(RunnerTest, TerminateAbortsQuietly) {
  ScriptRun run;
  run.WriteScript("PRINT one\nterminate\nPRINT two");
  EXPECT_EQ(SelectedGameLine(run.game()) + "one\r\n" + AbortedBanner(),
            run.Run());
  EXPECT_EQ(RunState::Aborted, run.context().RunState);
}

TEST(RunnerTest, LfOnlyScriptsKeepTheirLines) {
  ScriptRun run;
  WriteTestFile(run.installer() + "QuarnInstall.txt", "PRINT a\nPRINT b\n");
  EXPECT_EQ(SelectedGameLine(run.game()) + "a\r\nb\r\n" + DoneBanner(),
            run.Run());
}

TEST(RunnerTest, MissingScriptEndsWithTheFailureBanner) {
  ScriptRun run;
  EXPECT_EQ(
      "Can't read " + run.installer() + "QuarnInstall.txt\r\n" + FailedBanner(),
      run.Run());
}

TEST(RunnerTest, ScriptedPathLeavesTheGameUnset) {
  ScriptRun run;
  run.context().ChosenPath = kScriptedPath;
  run.WriteScript("PRINT x");
  EXPECT_EQ("x\r\n" + DoneBanner(), run.Run());
  EXPECT_EQ("", run.context().GamePath);
}

TEST(RunnerTest, ChosenPathGetsItsBackslash) {
  ScriptRun run;
  const std::string game = run.game();
  run.context().ChosenPath = game.substr(0, game.size() - 1);
  run.WriteScript("PRINT x");
  EXPECT_EQ(SelectedGameLine(run.game()) + "x\r\n" + DoneBanner(), run.Run());
  EXPECT_EQ(game, run.context().GamePath);
}

TEST(RunnerTest, NoChosenPathClosesTheWindowWithoutABanner) {
  ScriptRun run;
  run.context().ChosenPath = "";
  bool close_requested = false;
  run.context().RequestWindowClose = [&] { close_requested = true; };
  run.WriteScript("PRINT x");
  EXPECT_EQ("", run.Run());
  EXPECT_TRUE(close_requested);
  EXPECT_TRUE(run.context().WorkerFinished);
}

class CatalogueRunTest : public ::testing::Test {
 protected:
  void AddMod(const std::string& folder, int32_t selection,
              const std::string& script) {
    run_.context().ModCatalogue.Present = true;
    run_.context().ModCatalogue.Entries.push_back({folder, folder, selection});
    if (!script.empty()) {
      WriteTestFile(run_.installer() + folder + "\\QuarnInstall.txt", script);
    }
  }

  ScriptRun run_;
};

TEST_F(CatalogueRunTest, SelectedModsRunInOrderWithGapsBetweenThem) {
  AddMod("X1", 1, "PRINT one\r\n");
  AddMod("X2", 0, "PRINT skipped\r\n");
  AddMod("X3", -5, "PRINT three\r\nTERMINATE\r\n");
  AddMod("X4", 1, "PRINT never\r\n");
  const std::string game = SelectedGameLine(run_.game());
  EXPECT_EQ(game + "one\r\n\r\n\r\n\r\n" + game + "three\r\n" + AbortedBanner(),
            run_.Run());
  // The window shows only the mod that ran last.
  EXPECT_EQ(game + "three\r\n" + AbortedBanner(), run_.window().shown);
  EXPECT_EQ(run_.installer() + "X3\\", run_.context().ModPath);
  EXPECT_EQ(run_.installer() + "X3\\", run_.context().SourceDir);
}

TEST_F(CatalogueRunTest, NothingSelectedIsAllDone) {
  AddMod("X1", 0, "PRINT one\r\n");
  EXPECT_EQ(DoneBanner(), run_.Run());
  EXPECT_EQ(RunState::Done, run_.context().RunState);
}

TEST_F(CatalogueRunTest, AMissingScriptStopsTheRunWithItsPath) {
  AddMod("X1", 1, "PRINT one\r\n");
  AddMod("X2", 1, "");
  AddMod("X3", 1, "PRINT three\r\n");
  EXPECT_EQ(SelectedGameLine(run_.game()) + "one\r\n\r\n\r\n\r\n" +
                run_.installer() + "X2\\QuarnInstall.txt\r\n" + FailedBanner(),
            run_.Run());
}

TEST_F(CatalogueRunTest, AFailureSkipsLaterMods) {
  AddMod("X1", 1, "BOGUS\r\n");
  AddMod("X2", 1, "PRINT two\r\n");
  EXPECT_EQ(SelectedGameLine(run_.game()) + "Unknown command: BOGUS\r\n" +
                FailedBanner(),
            run_.Run());
}

TEST_F(CatalogueRunTest, AStopRequestEndsTheRunAfterTheCommandUnderWay) {
  AddMod("X1", 1, "PRINT a\r\nPRINT b\r\n");
  AddMod("X2", 1, "PRINT c\r\n");
  run_.window().on_append = [this](const std::string& text) {
    if (text == "a\r\n") run_.context().StopRequested = true;
  };
  EXPECT_EQ(SelectedGameLine(run_.game()) + "a\r\n" + AbortedBanner(),
            run_.Run());
  EXPECT_EQ(RunState::Aborted, run_.context().RunState);

  // Between two mods, the next one is not started.
  ScriptRun second;
  second.context().ModCatalogue.Present = true;
  for (const char* folder : {"X1", "X2"}) {
    second.context().ModCatalogue.Entries.push_back({folder, folder, 1});
    WriteTestFile(second.installer() + folder + "\\QuarnInstall.txt",
                  std::string("PRINT ") + folder + "\r\n");
  }
  second.window().on_append = [&second](const std::string& text) {
    if (text == "X1\r\n") second.context().StopRequested = true;
  };
  EXPECT_EQ(
      SelectedGameLine(second.game()) + "X1\r\n\r\n\r\n\r\n" + AbortedBanner(),
      second.Run());
}

}  // namespace
}  // namespace quarn
