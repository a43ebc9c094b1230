#include "cli/restore_command.h"

#include <gtest/gtest.h>

#include "cli/quarn_cli_fixture.h"
#include "testutil/test_files.h"
#include "testutil/tree_snapshot.h"

namespace quarn {
namespace {

class RestoreCliTest : public QuarnCliTest {
 protected:
  RestoreCliTest() {
    WriteTestFile(game() + "models\\gta3.img", "modified archive");
    WriteTestFile(game() + "models\\gta3.dir", "modified directory");
    WriteTestFile(game() + "models\\backup\\gta3.img", "archive");
    WriteTestFile(game() + "models\\backup\\gta3.dir", "directory");
    WriteTestFile(game() + "data\\backup\\gta_vc.dat", "list");
  }
};

TEST_F(RestoreCliTest, CopiesBackAndPrintsEveryMessage) {
  EXPECT_EQ(kExitAllDone, Run({"restore", "--game", NativePath(game())}));
  EXPECT_EQ("Copied: gta3.img, gta3.dir, gta_vc.dat\n", out_);
  EXPECT_EQ("", err_);  // not a terminal: no progress
  EXPECT_EQ("archive", ReadTestFile(game() + "models\\gta3.img"));
  EXPECT_EQ("directory", ReadTestFile(game() + "models\\gta3.dir"));
  EXPECT_EQ("list", ReadTestFile(game() + "data\\gta_vc.dat"));
}

TEST_F(RestoreCliTest, FailedCopiesGiveStatusOne) {
  fs_->RemoveFile(game() + "models\\backup\\gta3.img");
  EXPECT_EQ(kExitFailed,
            Run({"restore", "--fast", "--game", NativePath(game())}));
  const std::string models = game() + "models\\";
  EXPECT_EQ("Can't copy " + models + "backup\\gta3.img\nto " + models +
                "gta3.img\nCan't copy " + models + "backup\\gta3.dir\nto " +
                models + "gta3.dir\nCopied: gta_vc.dat\n",
            out_);
  EXPECT_EQ("modified directory", ReadTestFile(models + "gta3.dir"));

  EXPECT_EQ(kExitFailed,
            Run({"restore", "--game", NativePath(folder_.path() + "mod")}));
  EXPECT_EQ("Please locate your GTA install first.\n", out_);
}

TEST_F(RestoreCliTest, WaitsForNoOtherRun) {
  std::unique_ptr<FolderLock> other_run = fs_->LockFolder(game(), nullptr);
  ASSERT_TRUE(other_run);
  const std::string before = TreeSnapshot(folder_.path());
  EXPECT_EQ(kExitFailed, Run({"restore", "--game", NativePath(game())}));
  EXPECT_EQ("quarn: another run is changing the game in " + NativePath(game()) +
                "; try again when it has finished\n",
            err_);
  EXPECT_EQ("", out_);
  EXPECT_EQ(before, TreeSnapshot(folder_.path()));
}

}  // namespace
}  // namespace quarn
