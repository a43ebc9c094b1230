#include "platform/game_file.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/faulty_file_system.h"
#include "testutil/change_recorder.h"
#include "testutil/test_files.h"

namespace quarn {
namespace {

std::vector<std::string> Names(FileSystem& fs, const std::string& folder) {
  std::vector<FolderEntry> entries;
  fs.ListFolder(folder, &entries);
  std::vector<std::string> names;
  for (const FolderEntry& entry : entries) names.push_back(entry.name);
  return names;
}

TEST(GameFileTest, ReadsOnlyOrdinaryAccessibleFiles) {
  TempFolder temp;
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  const std::string path = temp.path() + "object.dat";
  std::string bytes;
  EXPECT_EQ(GameFileRead::kMissing, ReadGameFile(*fs, path, &bytes));

  WriteTestFile(path, "a\r\nb\r\n");
  ASSERT_TRUE(fs->SetAttributes(path, kAttrReadOnly));
  EXPECT_EQ(GameFileRead::kOkay, ReadGameFile(*fs, path, &bytes));
  EXPECT_EQ("a\r\nb\r\n", bytes);
  // The read cleared the read-only bit, so the rewrite can replace it.
  EXPECT_TRUE(ReplaceWholeFile(*fs, path, "c\r\n"));
  EXPECT_EQ("c\r\n", ReadTestFile(path));

  ASSERT_TRUE(fs->SetAttributes(path, kAttrHidden));
  EXPECT_EQ(GameFileRead::kMissing, ReadGameFile(*fs, path, &bytes));
  MakeTestFolder(temp.path() + "folder.dat");
  EXPECT_EQ(GameFileRead::kMissing,
            ReadGameFile(*fs, temp.path() + "folder.dat", &bytes));
}

TEST(GameFileTest, FailedRewriteKeepsTheOldFileAndLeavesNoTemporary) {
  TempFolder temp;
  std::unique_ptr<FileSystem> native = MakeNativeFileSystem();
  FaultyFileSystem fs(*native);
  const std::string path = temp.path() + "gta_vc.dat";
  WriteTestFile(path, "old\r\n");
  // A file of the user's with our temporary name is left alone.
  WriteTestFile(path + ".quarn-new", "user's");
  const std::vector<std::string> before = Names(fs, temp.path());

  FaultPlan write_fails;
  write_fails.failing_write = 1;
  fs.Plan(write_fails);
  EXPECT_FALSE(ReplaceWholeFile(fs, path, "new\r\n"));
  EXPECT_EQ(before, Names(fs, temp.path()));

  FaultPlan flush_fails;
  flush_fails.fail_flush = true;
  fs.Plan(flush_fails);
  EXPECT_FALSE(ReplaceWholeFile(fs, path, "new\r\n"));
  EXPECT_EQ(before, Names(fs, temp.path()));
  EXPECT_EQ("old\r\n", ReadTestFile(path));

  FaultPlan rename_fails;
  rename_fails.fail_rename = true;
  fs.Plan(rename_fails);
  EXPECT_FALSE(ReplaceWholeFile(fs, path, "new\r\n"));
  EXPECT_EQ(before, Names(fs, temp.path()));
  EXPECT_EQ("old\r\n", ReadTestFile(path));

  fs.Plan(FaultPlan());
  EXPECT_TRUE(ReplaceWholeFile(fs, path, "new\r\n"));
  EXPECT_EQ("new\r\n", ReadTestFile(path));
  EXPECT_EQ("user's", ReadTestFile(path + ".quarn-new"));
  EXPECT_EQ(before, Names(fs, temp.path()));
  // A file that did not exist yet is created.
  EXPECT_TRUE(ReplaceWholeFile(fs, temp.path() + "new.ipl", "inst\r\n"));
  EXPECT_EQ("inst\r\n", ReadTestFile(temp.path() + "new.ipl"));
}

// The new bytes are on the disk before their name replaces the old file's.
TEST(GameFileTest, RewriteFlushesBeforeItRenames) {
  TempFolder temp;
  std::unique_ptr<FileSystem> native = MakeNativeFileSystem();
  ChangeRecorder fs(*native, temp.path());
  WriteTestFile(temp.path() + "gta_vc.dat", "old\r\n");
  EXPECT_TRUE(ReplaceWholeFile(fs, temp.path() + "gta_vc.dat", "new\r\n"));
  EXPECT_EQ((std::vector<std::string>{
                "write gta_vc.dat.quarn-new", "flush gta_vc.dat.quarn-new",
                "rename gta_vc.dat.quarn-new gta_vc.dat"}),
            fs.changes());
  EXPECT_EQ("new\r\n", ReadTestFile(temp.path() + "gta_vc.dat"));
}

}  // namespace
}  // namespace quarn
