#include "shell/saved_selection.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "shell/catalogue_rows.h"
#include "testutil/test_files.h"

namespace quarn {
namespace {

class SavedSelectionTest : public ::testing::Test {
 protected:
  SavedSelectionTest() {
    for (const char* name : {"X1", "X2", "X3,FAST", "X4"}) {
      catalogue_.Entries.push_back(ModEntry{name, "", 1});
    }
    catalogue_.Present = true;
  }

  std::string path() const { return folder_.path() + kSavedFileName; }

  TempFolder folder_;
  std::unique_ptr<FileSystem> fs_ = MakeNativeFileSystem();
  ModCatalogue catalogue_;
};

TEST_F(SavedSelectionTest, WrittenExactlyAndReadBack) {
  catalogue_.Entries[1].Selection = 0;
  catalogue_.Entries[3].Selection = -3;
  const InstallerOptions options{1, 0, 1};
  ASSERT_TRUE(SaveSelection(*fs_, path(), "C:\\Games\\Vice City\\", options,
                            catalogue_));
  EXPECT_EQ(
      "game path: C:\\Games\\Vice City\\\r\n"
      " 1 \r\n 0 \r\n 1 \r\n"
      "X1, 1 \r\nX2, 0 \r\n\"X3,FAST\", 1 \r\nX4,-3 \r\n",
      ReadTestFile(path()));

  ModCatalogue loaded = catalogue_;
  SelectAll(loaded);
  const SavedSelection saved = LoadSavedSelection(*fs_, path(), &loaded);
  EXPECT_EQ("C:\\Games\\Vice City\\", saved.remembered_path);
  EXPECT_EQ(1, saved.options.FastCopyFromBackup);
  EXPECT_EQ(0, saved.options.ScanCullZones);
  EXPECT_EQ(1, saved.options.DumpObjectIds);
  for (size_t i = 0; i < loaded.Entries.size(); ++i) {
    EXPECT_EQ(catalogue_.Entries[i].Selection, loaded.Entries[i].Selection)
        << loaded.Entries[i].FolderName;
  }
}

TEST_F(SavedSelectionTest, LinesAreReadLeniently) {
  // Line 1 from its 12th character whatever the label; LF-only line ends;
  // fields with blanks and quotes; lower case; unknown folders ignored; a
  // folder named twice takes the later line; X4 keeps its default.
  WriteTestFile(path(),
                "GAME-PATH->D:\\vc\\\n"
                "  7junk\n"
                "\n"
                "1.9e1\n"
                "  x1  ,  0  \n"
                "\"x3,fast\" , 2\n"
                "X9, 0\n"
                "X2,0\n"
                "X2 ,  5 trailing\n");
  catalogue_.Entries[3].Selection = 0;
  const SavedSelection saved = LoadSavedSelection(*fs_, path(), &catalogue_);
  EXPECT_EQ("D:\\vc\\", saved.remembered_path);
  EXPECT_EQ(7, saved.options.FastCopyFromBackup);
  EXPECT_EQ(0, saved.options.ScanCullZones);
  EXPECT_EQ(19, saved.options.DumpObjectIds);
  EXPECT_EQ(0, catalogue_.Entries[0].Selection);
  EXPECT_EQ(5, catalogue_.Entries[1].Selection);
  EXPECT_EQ(2, catalogue_.Entries[2].Selection);
  EXPECT_EQ(0, catalogue_.Entries[3].Selection);
}

TEST_F(SavedSelectionTest, ShortMissingOrCatalogueLessFiles) {
  WriteTestFile(path(), "game path: <scripted>\r\n 1 \r\n");
  SavedSelection saved = LoadSavedSelection(*fs_, path(), &catalogue_);
  EXPECT_EQ("<scripted>", saved.remembered_path);
  EXPECT_EQ(1, saved.options.FastCopyFromBackup);
  EXPECT_EQ(0, saved.options.DumpObjectIds);

  // Without a catalogue only the path is taken.
  WriteTestFile(path(), "game path: E:\\\r\n 1 \r\n 1 \r\n 1 \r\nX1, 0 \r\n");
  ModCatalogue none;
  saved = LoadSavedSelection(*fs_, path(), &none);
  EXPECT_EQ("E:\\", saved.remembered_path);
  EXPECT_EQ(0, saved.options.FastCopyFromBackup);
  EXPECT_EQ(0, saved.options.DumpObjectIds);

  saved = LoadSavedSelection(*fs_, folder_.path() + "nothing.dat", &catalogue_);
  EXPECT_EQ("", saved.remembered_path);
  EXPECT_EQ(1, catalogue_.Entries[0].Selection);
}

TEST_F(SavedSelectionTest, UnwritableFileIsReportedAndKept) {
  WriteTestFile(path(), "old");
  ASSERT_TRUE(fs_->SetAttributes(path(), kAttrReadOnly));
  EXPECT_FALSE(SaveSelection(*fs_, path(), "<scripted>", InstallerOptions(),
                             catalogue_));
  fs_->SetAttributes(path(), 0);
  EXPECT_EQ("old", ReadTestFile(path()));
}

}  // namespace
}  // namespace quarn
