#include "script/install_path_command.h"

#include <gtest/gtest.h>

#include <string>

#include "testutil/script_run.h"
#include "testutil/test_files.h"

namespace quarn {
namespace {

const std::string kRule(43, '-');
const std::string kDone =
    " \r\n" + kRule + "\r\n                All done.\r\n" + kRule + "\r\n \r\n";
const std::string kFailed =
    " \r\n" + kRule + "\r\nThe script failed. The installation failed.\r\n" +
    kRule + "\r\n \r\n";

TEST(InstallPath, IsIgnoredWhenTheUserChoseTheGameFolder) {
  ScriptRun run;
  MakeTestFolder(run.installer() + "other");
  run.WriteScript("INSTALL PATH " + run.installer() + "other");
  EXPECT_EQ(
      "Selected game path: " + run.game().substr(0, run.game().size() - 1) +
          "\r\n" + "Game path already set. INSTALL PATH command ignored.\r\n" +
          kDone,
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
                "a.txt\r\n to " + game + "\\b.txt... ok\r\n" + kDone,
            run.Run());
  EXPECT_EQ(run.game(), run.context().GamePath);
  EXPECT_EQ("a", ReadTestFile(run.game() + "b.txt"));
}

TEST(InstallPath, FailsForAMissingOrOverlongFolder) {
  ScriptRun run;
  run.context().ChosenPath = kScriptedPath;
  run.WriteScript("INSTALL PATH " + run.installer() + "nowhere\\");
  EXPECT_EQ("Scripted game path: " + run.installer() + "nowhere\\\r\n" +
                "Scripted game path not found\r\n" + kFailed,
            run.Run());

  ScriptRun deep;
  deep.context().ChosenPath = kScriptedPath;
  const std::string folder =
      deep.game() + std::string(kGamePathCapacity - deep.game().size(), 'g');
  MakeTestFolder(folder);
  deep.WriteScript("INSTALL PATH " + folder);
  EXPECT_EQ("Scripted game path: " + folder + "\r\n" +
                "Scripted game path too long\r\n" + kFailed,
            deep.Run());
}

}  // namespace
}  // namespace quarn
