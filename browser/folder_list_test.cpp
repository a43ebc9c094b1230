#include "browser/folder_list.h"

#include <gtest/gtest.h>

#include "testutil/test_files.h"

namespace quarn {
namespace {

std::string Describe(const std::vector<FolderListEntry>& entries,
                     const std::string& base) {
  std::string text;
  for (const FolderListEntry& entry : entries) {
    std::string path = entry.path;
    if (path.compare(0, base.size(), base) == 0) {
      path = "<T>" + path.substr(base.size());
    }
    text += std::to_string(static_cast<int>(entry.kind)) + " " +
            std::to_string(entry.depth) + " " + path + "\n";
  }
  return text;
}

TEST(FolderListTest, AncestorsThenSortedSubfoldersWithoutSystemFolders) {
  TempFolder temp;
  const std::string game = temp.path() + "Games\\Vice";
  for (const char* name : {"models", "Data", "audio", "hidden", "sys"}) {
    MakeTestFolder(game + "\\" + name);
  }
  WriteTestFile(game + "\\gta-vc.exe", "x");
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  ASSERT_TRUE(fs->SetAttributes(game + "\\hidden", kAttrHidden));
  ASSERT_TRUE(fs->SetAttributes(game + "\\sys", kAttrSystem));

  // Given without its trailing backslash, the folder is listed with one,
  // after its parent and before its subfolders.
  const std::vector<FolderListEntry> entries = FolderListFor(*fs, game);
  const size_t row = FolderRowOf(entries);
  ASSERT_GE(row, 2u);
  const std::vector<FolderListEntry> tail(entries.begin() + row - 1,
                                          entries.end());
  const std::string d = std::to_string(row);
  const std::string e = std::to_string(row + 1);
  EXPECT_EQ("1 " + std::to_string(row - 1) + " <T>Games\\\n" + "1 " + d +
                " <T>Games\\Vice\\\n" + "2 " + e +
                " <T>Games\\Vice\\audio\\\n" + "2 " + e +
                " <T>Games\\Vice\\Data\\\n" + "2 " + e +
                " <T>Games\\Vice\\hidden\\\n" + "2 " + e +
                " <T>Games\\Vice\\models\\\n",
            Describe(tail, temp.path()));
  EXPECT_EQ(FolderKind::kRoot, entries[0].kind);
  EXPECT_EQ(0, entries[0].depth);
}

TEST(FolderListTest, RootListsItselfAndVanishedFoldersFallBackToAParent) {
  TempFolder temp;
  MakeTestFolder(temp.path() + "a\\b");
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();

  const std::vector<FolderListEntry> root = FolderListFor(*fs, "C:\\");
  ASSERT_FALSE(root.empty());
  EXPECT_EQ("C:\\", root[0].path);
  EXPECT_EQ(0u, FolderRowOf(root));

  EXPECT_EQ(temp.path() + "a\\b\\",
            NearestExistingFolder(*fs, temp.path() + "a\\b"));
  EXPECT_EQ(temp.path() + "a\\",
            NearestExistingFolder(*fs, temp.path() + "a\\gone\\deeper\\"));
}

TEST(FolderListTest, DriveTextTakesTheLabelBeforeTheParenthesis) {
  EXPECT_EQ("C:  (System)", DriveEntryText("c:\\", "System (C:)"));
  EXPECT_EQ("D:", DriveEntryText("D:\\", "D:"));
  EXPECT_EQ("E:", DriveEntryText("E:\\", "  (E:)"));
  EXPECT_EQ("Z:  (My Disk)", DriveEntryText("Z:\\", " My Disk  (Z:)"));
}

}  // namespace
}  // namespace quarn
