#include "tools/samplegen/sample_catalogue.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/quarn_cli.h"
#include "shell/mod_catalogue_build.h"
#include "testutil/test_files.h"

namespace quarn {
namespace {

// The sample setup installed and restored through the headless runner, as
// the demo and a user trying it do.
class SampleCatalogueTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(WriteSampleGame(NativePath(game_), SampleGameOptions(), &error))
        << error;
    ASSERT_TRUE(
        WriteSampleCatalogue(NativePath(setup_), SampleGameOptions(), &error))
        << error;
  }
  ~SampleCatalogueTest() override { fs_->ChangeFolder(start_folder_); }

  int Quarn(const std::vector<std::string>& args) {
    FILE* out = tmpfile();
    FILE* err = tmpfile();
    const int status = RunQuarn(args, *fs_, out, err);
    fclose(out);
    fclose(err);
    return status;
  }

  TempFolder folder_;
  std::string game_ = folder_.path() + "game\\";
  std::string setup_ = folder_.path() + "setup\\";
  std::unique_ptr<FileSystem> fs_ = MakeNativeFileSystem();
  std::string start_folder_ = fs_->CurrentFolder();
};

TEST_F(SampleCatalogueTest, InstallsTheTickedModsInOrderAndRestores) {
  CollectedMessages messages;
  const ModCatalogue catalogue = LoadModCatalogue(*fs_, setup_, messages);
  std::vector<std::string> rows;
  for (const ModEntry& entry : catalogue.Entries) {
    rows.push_back(entry.FolderName + " " + std::to_string(entry.Selection) +
                   " " + entry.DisplayName);
  }
  EXPECT_EQ(std::vector<std::string>(
                {"X1 1 Kiosk area (the sample mod)", "X2 1 Road signs",
                 "X3 0  Night sky (unfinished, not installed by default)",
                 "X10_LAST 1 Last touches"}),
            rows);
  const std::string original_archive = ReadTestFile(game_ + "models\\gta3.img");

  EXPECT_EQ(kExitAllDone, Quarn({"install", "--dir", NativePath(setup_),
                                 "--game", NativePath(game_)}));
  EXPECT_EQ("X10\r\n", ReadTestFile(game_ + kInstallOrderFile));
  EXPECT_EQ("Installed by X2\r\n", ReadTestFile(game_ + "Road Signs.txt"));
  EXPECT_FALSE(TestPathExists(game_ + "Night Sky.txt"));
  EXPECT_NE(original_archive, ReadTestFile(game_ + "models\\gta3.img"));

  EXPECT_EQ(kExitAllDone, Quarn({"restore", "--game", NativePath(game_)}));
  EXPECT_EQ(original_archive, ReadTestFile(game_ + "models\\gta3.img"));
  EXPECT_EQ(ReadTestFile(game_ + "models\\backup\\gta3.dir"),
            ReadTestFile(game_ + "models\\gta3.dir"));
}

}  // namespace
}  // namespace quarn
