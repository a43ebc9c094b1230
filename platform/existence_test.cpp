#include "platform/existence.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/file_system.h"
#include "testutil/test_files.h"

namespace quarn {
namespace {

class ExistenceTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& relative) const {
    return temp_.path() + relative;
  }

  void Write(const std::string& relative, uint32_t attributes) {
    WriteTestFile(Path(relative), "x");
    ASSERT_TRUE(fs_->SetAttributes(Path(relative), attributes));
  }

  void Folder(const std::string& relative, uint32_t attributes) {
    MakeTestFolder(Path(relative));
    ASSERT_TRUE(fs_->SetAttributes(Path(relative), attributes));
  }

  bool File(const std::string& relative) {
    return IsOrdinaryFile(*fs_, Path(relative));
  }
  bool FolderTest(const std::string& relative) {
    return FolderTestPasses(*fs_, Path(relative));
  }

  TempFolder temp_;
  std::unique_ptr<FileSystem> fs_ = MakeNativeFileSystem();
};

TEST_F(ExistenceTest, NamedEntries) {
  Write("plain.dat", 0);
  Write("locked.dat", kAttrReadOnly);
  Write("hidden.dat", kAttrHidden);
  Write("system.dat", kAttrSystem);
  Folder("maps", 0);
  Folder("secret", kAttrHidden);

  EXPECT_TRUE(File("plain.dat"));
  EXPECT_TRUE(File("PLAIN.DAT"));
  EXPECT_TRUE(File("locked.dat"));
  EXPECT_FALSE(File("hidden.dat"));
  EXPECT_FALSE(File("system.dat"));
  EXPECT_FALSE(File("maps"));
  EXPECT_FALSE(File("absent.dat"));

  EXPECT_TRUE(FolderTest("plain.dat"));
  EXPECT_TRUE(FolderTest("maps"));
  EXPECT_FALSE(FolderTest("secret"));
  EXPECT_FALSE(FolderTest("hidden.dat"));
  EXPECT_FALSE(FolderTest("system.dat"));
  EXPECT_FALSE(FolderTest("absent"));
}

TEST_F(ExistenceTest, TrailingBackslashTestsTheContents) {
  Folder("empty", 0);
  Write("with_file\\a.dat", 0);
  Write("only_hidden\\a.dat", kAttrHidden);
  Write("only_system\\a.dat", kAttrSystem);
  Folder("only_folder\\sub", 0);
  Folder("only_hidden_folder\\sub", kAttrHidden);
  // A hidden folder's visible contents still count.
  Folder("hidden_parent", kAttrHidden);
  Write("hidden_parent\\a.dat", 0);

  EXPECT_FALSE(File("empty\\"));
  EXPECT_FALSE(FolderTest("empty\\"));
  EXPECT_TRUE(FolderTest("empty"));
  EXPECT_TRUE(File("with_file\\"));
  EXPECT_TRUE(FolderTest("WITH_FILE\\"));
  EXPECT_FALSE(File("only_hidden\\"));
  EXPECT_FALSE(FolderTest("only_hidden\\"));
  EXPECT_FALSE(File("only_system\\"));
  EXPECT_FALSE(FolderTest("only_system\\"));
  EXPECT_FALSE(File("only_folder\\"));
  EXPECT_TRUE(FolderTest("only_folder\\"));
  EXPECT_FALSE(FolderTest("only_hidden_folder\\"));
  EXPECT_TRUE(File("hidden_parent\\"));
  EXPECT_FALSE(FolderTest("hidden_parent"));
  EXPECT_FALSE(File("absent\\"));
  EXPECT_FALSE(FolderTest("absent\\"));
  EXPECT_FALSE(File("with_file\\a.dat\\"));
}

TEST_F(ExistenceTest, ClearAttributesForAccess) {
  Write("marked.dat", kAttrReadOnly | kAttrHidden | kAttrSystem);
  EXPECT_TRUE(ClearAttributesForAccess(*fs_, Path("marked.dat")));
  EXPECT_EQ(0u, fs_->AttributesOf(Path("marked.dat")) &
                    (kAttrReadOnly | kAttrHidden | kAttrSystem));
  EXPECT_TRUE(fs_->Open(Path("marked.dat"), OpenMode::kReadWrite, nullptr));

  EXPECT_FALSE(ClearAttributesForAccess(*fs_, Path("absent.dat")));
  Folder("maps", kAttrReadOnly);
  EXPECT_FALSE(ClearAttributesForAccess(*fs_, Path("maps")));
}

}  // namespace
}  // namespace quarn
