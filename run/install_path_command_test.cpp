#include "run/install_path_command.h"

#include <gtest/gtest.h>

#include <string>

#include "testutil/expected_log.h"
#include "testutil/script_run.h"
#include "testutil/test_files.h"

namespace quarn {
namespace {

TEST(InstallPath, IsIgnoredWhenTheUserChoseTheGameFolder) {
  ScriptRun run;
  MakeTestFolder(run.installer() + "other");
  run.WriteScript("INSTALL PATH " + run.installer() + "other");
  EXPECT_EQ(SelectedGameLine(run.game()) +
                "Game path already set. INSTALL PATH command ignored.\r\n" +
                DoneBanner(),
            run.Run());
  EXPECT_EQ(run.game(), run.context().GamePath);
}

TEST(InstallPath, SetsTheGameFolderOfAScriptedRun) {
  ScriptRun run;
  run.context().ChosenPath = kScriptedPath;
  WriteTestFile(run.installer() + "a.txt", "a");
  const std::string game = run.game().substr(0, run.game().size() - 1);
  run.WriteScript("install path " + game + "\nCOPY \"a.txt\" TO \"b.txt\"");
  EXPECT_EQ("Scripted game path: " + game + "\r\n" + "Copy " + run.installer() +
                "a.txt\r\n to " + game + "\\b.txt... ok\r\n" + DoneBanner(),
            run.Run());
  EXPECT_EQ(run.game(), run.context().GamePath);
  EXPECT_EQ("a", ReadTestFile(run.game() + "b.txt"));
}

TEST(InstallPath, FailsForAMissingOrOverlongFolder) {
  ScriptRun run;
  run.context().ChosenPath = kScriptedPath;
  run.WriteScript("INSTALL PATH " + run.installer() + "nowhere\\");
  EXPECT_EQ("Scripted game path: " + run.installer() + "nowhere\\\r\n" +
                "Scripted game path not found\r\n" + FailedBanner(),
            run.Run());

  ScriptRun deep;
  deep.context().ChosenPath = kScriptedPath;
  const std::string folder =
      deep.game() + std::string(kGamePathCapacity - deep.game().size(), 'g');
  MakeTestFolder(folder);
  deep.WriteScript("INSTALL PATH " + folder);
  EXPECT_EQ("Scripted game path: " + folder + "\r\n" +
                "Scripted game path too long\r\n" + FailedBanner(),
            deep.Run());
}

}  // namespace
}  // namespace quarn
