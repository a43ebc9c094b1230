#include "cli/quarn_cli.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "script/install_log.h"
#include "testutil/expected_log.h"
#include "testutil/stream_text.h"
#include "testutil/test_files.h"

namespace quarn {
namespace {

// Runs the headless runner, capturing what it prints.
class QuarnCliTest : public ::testing::Test {
 protected:
  QuarnCliTest() : fs_(MakeNativeFileSystem()) {
    WriteTestFile(game() + "gta-vc.exe", "exe");
  }
  ~QuarnCliTest() override { fs_->ChangeFolder(start_folder_); }

  std::string game() const { return folder_.path() + "game\\"; }
  std::string mod() const { return folder_.path() + "mod\\"; }

  int Run(const std::vector<std::string>& args) {
    FILE* out = tmpfile();
    FILE* err = tmpfile();
    const int status = RunQuarn(args, *fs_, out, err);
    out_ = TakeStreamText(out);
    err_ = TakeStreamText(err);
    return status;
  }

  TempFolder folder_;
  std::unique_ptr<FileSystem> fs_;
  std::string start_folder_ = fs_->CurrentFolder();
  std::string out_, err_;
};

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
  EXPECT_EQ("quarn (Quarn Installer) 1.1\n", out_);
}

}  // namespace
}  // namespace quarn
