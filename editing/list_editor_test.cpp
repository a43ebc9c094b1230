#include "editing/list_editor.h"

#include <gtest/gtest.h>

#include <string>

#include "testutil/expected_log.h"
#include "testutil/script_run.h"
#include "testutil/test_files.h"

namespace quarn {
namespace {

TEST(ListEditor, EveryListCommandNeedsTheGameFolder) {
  for (const char* line :
       {"GTA_VC.DAT OPEN", "GTA_VC.DAT ADD IDE a.ide",
        "GTA_VC.DAT DEL IDE a.ide", "GTA_VC.DAT CLOSE", "OBJECT.DAT OPEN",
        "OBJECT.DAT ADD a", "OBJECT.DAT DEL a", "OBJECT.DAT CLOSE"}) {
    ScriptRun run;
    WriteTestFile(run.game() + "data\\gta_vc.dat", "IDE a.ide\r\n");
    WriteTestFile(run.game() + "data\\object.dat", "a\r\n");
    run.context().ChosenPath = kScriptedPath;
    run.WriteScript(line);
    EXPECT_EQ("Install path unknown\r\n" + FailedBanner(), run.Run()) << line;
  }
}

TEST(ListEditor, AMissingListIsNotOpened) {
  ScriptRun run;
  run.WriteScript("OBJECT.DAT OPEN\nOBJECT.DAT CLOSE");
  EXPECT_EQ(
      SingleModLog(run.game(),
                   {"Opening the 'object.dat' file...file not found"}, false),
      run.Run());
  ScriptRun hidden;
  WriteTestFile(hidden.game() + "data\\gta_vc.dat", "IDE a.ide\r\n");
  ASSERT_TRUE(hidden.fs().SetAttributes(hidden.game() + "data\\gta_vc.dat",
                                        kAttrHidden));
  hidden.WriteScript("GTA_VC.DAT OPEN\nGTA_VC.DAT CLOSE");
  EXPECT_EQ(
      SingleModLog(hidden.game(),
                   {"Opening the 'gta_vc.dat' file... file not found"}, false),
      hidden.Run());
}

}  // namespace
}  // namespace quarn
