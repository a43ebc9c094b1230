#include "run/dir_commands.h"

#include <gtest/gtest.h>

#include <string>

#include "testutil/expected_log.h"
#include "testutil/script_run.h"
#include "testutil/single_mod_test.h"
#include "testutil/test_files.h"

namespace quarn {
namespace {

using DirCommandsTest = SingleModTest;

TEST_F(DirCommandsTest, DirCreateMakesOneLevelAtATime) {
  MakeTestFolder(game() + "data");

  EXPECT_EQ(Selected() + "Directory could not be created: " + game() +
                "outer\\inner\r\n" + FailedBanner(),
            RunScript("DIR CREATE data\n"
                      "dir create Mods\n"
                      "DIR CREATE Mods\\Cars\n"
                      "DIR CREATE Mods\\Cars\n"
                      "DIR CREATE outer\\inner"));
  EXPECT_TRUE(TestPathExists(game() + "Mods\\Cars"));
  EXPECT_FALSE(TestPathExists(game() + "outer"));
}

TEST_F(DirCommandsTest, DirCreateWithTrailingBackslashCreatesButFails) {
  EXPECT_EQ(Selected() + "Directory could not be created: " + game() +
                "fresh\\\r\n" + FailedBanner(),
            RunScript("DIR CREATE fresh\\"));
  EXPECT_TRUE(TestPathExists(game() + "fresh"));
}

TEST(DirCommandChecks, ArgumentsThatCouldLeaveTheirFolderAreRefused) {
  struct Case {
    const char* argument;
    const char* refusal;
  };
  // Colon first, then a leading backslash, then "..".
  const Case cases[] = {
      {"c:\\x", "Colon not allowed"},
      {"\\..:x", "Colon not allowed"},
      {"\\x", "Root specifier not allowed"},
      {"\\..\\x", "Root specifier not allowed"},
      {"..\\x", ".. not allowed"},
      {"x\\..", ".. not allowed"},
  };
  for (const char* command : {"DIR CREATE", "DIR SELECT"}) {
    for (const Case& c : cases) {
      ScriptRun run;
      run.WriteScript(std::string(command) + " " + c.argument);
      EXPECT_EQ(SelectedGameLine(run.game()) + "Script error: " + c.refusal +
                    " in " + command + "\r\n" + FailedBanner(),
                run.Run())
          << command << " " << c.argument;
      EXPECT_FALSE(TestPathExists(run.installer() + "x")) << c.argument;
      EXPECT_FALSE(TestPathExists(run.game() + "x")) << c.argument;
    }
  }
}

TEST_F(DirCommandsTest, DirCreateNeedsAKnownGameFolder) {
  run_.context().ChosenPath = kScriptedPath;
  EXPECT_EQ("Install path unknown\r\n" + FailedBanner(),
            RunScript("DIR CREATE QuarnStrayFolder"));
  EXPECT_FALSE(TestPathExists("QuarnStrayFolder"));
}

TEST_F(DirCommandsTest, DirSelectIsAlwaysRelativeToTheModFolder) {
  MakeTestFolder(mod() + "models");
  MakeTestFolder(mod() + "extra");

  EXPECT_EQ(
      Selected() + "Source dir: models\r\nSource dir: extra\r\n" + DoneBanner(),
      RunScript("DIR SELECT models\ndir select extra"));
  EXPECT_EQ(mod() + "extra\\", run_.context().SourceDir);
}

TEST_F(DirCommandsTest, DirSelectOfAMissingFolderFails) {
  MakeTestFolder(mod() + "models");

  EXPECT_EQ(Selected() + "Source dir: models\r\n" +
                "Installation source folder cars not found.\r\n" +
                "Expected to find directory: " + mod() + "cars\r\n" +
                "Installation failed.\r\n" + FailedBanner(),
            RunScript("DIR SELECT models\nDIR SELECT cars"));
  EXPECT_EQ(mod() + "models\\", run_.context().SourceDir);

  // With a trailing backslash the folder must hold something.
  ScriptRun run;
  MakeTestFolder(run.installer() + "empty");
  run.WriteScript("DIR SELECT empty\\");
  EXPECT_EQ(SelectedGameLine(run.game()) +
                "Installation source folder empty\\ not found.\r\n" +
                "Expected to find directory: " + run.installer() +
                "empty\\\r\nInstallation failed.\r\n" + FailedBanner(),
            run.Run());
}

TEST_F(DirCommandsTest, DirSelectRefusesAFolderTooLongToKeepWhole) {
  // One character less and the folder with its backslash would just fit.
  const std::string name(kSourceDirCapacity - mod().size(), 'm');
  MakeTestFolder(mod() + name);
  EXPECT_EQ(Selected() + "Source folder path too long: " + mod() + name +
                "\r\n" + FailedBanner(),
            RunScript("DIR SELECT " + name));

  ScriptRun run;
  const std::string fits(kSourceDirCapacity - run.installer().size() - 1, 'm');
  MakeTestFolder(run.installer() + fits);
  run.WriteScript("DIR SELECT " + fits);
  run.Run();
  EXPECT_EQ(run.installer() + fits + "\\", run.context().SourceDir);
}

}  // namespace
}  // namespace quarn
