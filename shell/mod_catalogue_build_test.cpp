#include "shell/mod_catalogue_build.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/faulty_file_system.h"
#include "testutil/test_files.h"

namespace quarn {
namespace {

class ModCatalogueTest : public ::testing::Test {
 protected:
  std::string dir() const { return folder_.path(); }

  // A mod folder with a script and, unless null, a name file.
  void WriteMod(const std::string& folder, const char* name_file) {
    WriteTestFile(dir() + folder + "\\QuarnInstall.txt", "PRINT\r\n");
    if (name_file != nullptr) {
      WriteTestFile(dir() + folder + "\\InsName.txt", name_file);
    }
  }

  std::vector<std::string> Rows(const ModCatalogue& catalogue) {
    std::vector<std::string> rows;
    for (const ModEntry& entry : catalogue.Entries) {
      rows.push_back(entry.FolderName + "|" + entry.DisplayName + "|" +
                     std::to_string(entry.Selection));
    }
    return rows;
  }

  ModCatalogue Load() { return LoadModCatalogue(*fs_, dir(), messages_); }

  TempFolder folder_;
  std::unique_ptr<FileSystem> fs_ = MakeNativeFileSystem();
  CollectedMessages messages_;
};

TEST_F(ModCatalogueTest, FolderNumberOrderNamesAndTicks) {
  WriteMod("X10", "Tenth\r\nsecond line is not read\r\n");
  WriteMod("x2", "Trees ***  and *** rocks");
  WriteMod("X3", "");
  WriteMod("X0040_Trees", nullptr);
  WriteMod("X1", std::string(120, 'n').c_str());
  // Not mods, all without a message: no number, not above 0, a plain file,
  // a folder without a script.
  WriteMod("Xtra", "x");
  WriteMod("X0", "x");
  WriteMod("X-4", "x");
  WriteTestFile(dir() + "X7", "file");
  MakeTestFolder(dir() + "X5");
  WriteTestFile(dir() + "X6\\readme.txt", "no script");
  MakeTestFolder(dir() + "X8\\QuarnInstall.txt");

  const ModCatalogue catalogue = Load();
  EXPECT_TRUE(catalogue.Present);
  EXPECT_EQ(std::vector<std::string>(
                {"X1|" + std::string(99, 'n') + "|1", "X2|Trees   and  rocks|0",
                 "X3||1", "X10|Tenth|1",
                 "X0040_TREES|(X0040_TREES has no name. 'InsName.txt' not "
                 "found)|1"}),
            Rows(catalogue));
  EXPECT_EQ(std::vector<std::string>(), messages_.texts);
}

TEST_F(ModCatalogueTest, NameFileThatWillNotOpen) {
  WriteMod("X4", "Held");
  std::unique_ptr<File> held =
      fs_->Open(dir() + "X4\\InsName.txt", OpenMode::kRead, nullptr);
  ASSERT_TRUE(held);
  EXPECT_EQ(std::vector<std::string>(
                {"X4|(X4 - 'InsName.txt' found but inaccessible)|1"}),
            Rows(Load()));
}

TEST_F(ModCatalogueTest, ConflictStopsTheScanKeepingWhatWasPlaced) {
  // Listed sorted: X012, X1, X12 (conflict: stop), X2 never seen.
  WriteMod("X012", "twelve");
  WriteMod("X1", "one");
  WriteMod("X12", "twelve again");
  WriteMod("X2", "two");
  EXPECT_EQ(std::vector<std::string>({"X1|one|1", "X012|twelve|1"}),
            Rows(Load()));
  EXPECT_EQ(std::vector<std::string>({"Conflict between X12 and X012"}),
            messages_.texts);
}

TEST_F(ModCatalogueTest, NumberAboveTheRangeStopsTheScan) {
  WriteMod("X2999", "last");
  WriteMod("X3000", "too far");
  WriteMod("X4", "after");
  EXPECT_EQ(std::vector<std::string>({"X2999|last|1"}), Rows(Load()));
  EXPECT_EQ(std::vector<std::string>({"X folder ID out of range. 2999 max."}),
            messages_.texts);
}

TEST_F(ModCatalogueTest, NoScriptAnywhereMeansNoCatalogue) {
  MakeTestFolder(dir() + "X1");
  WriteTestFile(dir() + "QuarnInstall.txt", "PRINT\r\n");
  EXPECT_FALSE(Load().Present);
}

// A listing that adds a folder name longer than any Linux file name, as
// Windows can deliver one.
class LongNameFileSystem : public FaultyFileSystem {
 public:
  LongNameFileSystem(FileSystem& target, std::string name)
      : FaultyFileSystem(target), name_(std::move(name)) {}
  FsStatus ListFolder(const std::string& path,
                      std::vector<FolderEntry>* entries) override {
    const FsStatus status = FaultyFileSystem::ListFolder(path, entries);
    entries->insert(entries->begin(), FolderEntry{name_, kAttrDirectory});
    return status;
  }

 private:
  std::string name_;
};

TEST_F(ModCatalogueTest, OverLongFolderNameIsSkippedWithItsMessage) {
  WriteMod("X5", "five");
  const std::string long_name = "x5" + std::string(258, 'a');
  LongNameFileSystem listing(*fs_, long_name);
  EXPECT_EQ(std::vector<std::string>({"X5|five|1"}),
            Rows(LoadModCatalogue(listing, dir(), messages_)));
  EXPECT_EQ(std::vector<std::string>(
                {"X folder name too long: X5" + std::string(38, 'A') + "..."}),
            messages_.texts);
}

}  // namespace
}  // namespace quarn
