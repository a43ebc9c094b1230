// What only the Linux backend has to get right: agreeing with Wine about
// what is stored on disk, and turning Linux paths into engine paths.
#include "platform/posix/posix_file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "testutil/test_files.h"

namespace quarn {
namespace {

class PosixFileSystemTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& relative) const {
    return temp_.path() + relative;
  }
  std::string Native(const std::string& relative) const {
    return NativePath(Path(relative));
  }

  // The text Wine would find in the file's attribute store.
  std::string StoredText(const std::string& relative) const {
    char text[64];
    const ssize_t length =
        getxattr(Native(relative).c_str(), "user.DOSATTRIB", text, sizeof text);
    return length < 0 ? "<none>" : std::string(text, length);
  }

  static std::string Resolve(const std::string& path) {
    return ResolvePosixPath(ParseEnginePath(path, ""));
  }

  mode_t ModeOf(const std::string& relative) const {
    struct stat status;
    return stat(Native(relative).c_str(), &status) == 0 ? status.st_mode & 0777
                                                        : 01000;
  }

  TempFolder temp_;
  PosixFileSystem fs_;
};

TEST_F(PosixFileSystemTest, AttributesAreStoredAsWineStoresThem) {
  WriteTestFile(Path("a.dat"), "");
  ASSERT_TRUE(fs_.SetAttributes(Path("a.dat"), kAttrHidden | kAttrArchive));
  EXPECT_EQ("0x2", StoredText("a.dat"));
  ASSERT_TRUE(fs_.SetAttributes(Path("a.dat"), kAttrHidden | kAttrSystem));
  EXPECT_EQ("0x6", StoredText("a.dat"));
  ASSERT_TRUE(fs_.SetAttributes(Path("a.dat"), kAttrReadOnly));
  EXPECT_EQ("<none>", StoredText("a.dat"));
  EXPECT_EQ(0444u, ModeOf("a.dat") & 0666);
  ASSERT_TRUE(fs_.SetAttributes(Path("a.dat"), 0));
  EXPECT_EQ(0200u, ModeOf("a.dat") & 0200);
  EXPECT_EQ(kAttrArchive, fs_.AttributesOf(Path("a.dat")));

  // Marks made by others: Wine's text, Samba's older text with its NUL.
  ASSERT_EQ(0,
            setxattr(Native("a.dat").c_str(), "user.DOSATTRIB", "0x4", 3, 0));
  EXPECT_EQ(kAttrArchive | kAttrSystem, fs_.AttributesOf(Path("a.dat")));
  ASSERT_EQ(0, setxattr(Native("a.dat").c_str(), "user.DOSATTRIB", "0x22\0\1\2",
                        7, 0));
  EXPECT_EQ(kAttrArchive | kAttrHidden, fs_.AttributesOf(Path("a.dat")));
  ASSERT_EQ(0, chmod(Native("a.dat").c_str(), 0555));
  EXPECT_EQ(kAttrArchive | kAttrHidden | kAttrReadOnly,
            fs_.AttributesOf(Path("a.dat")));

  // As Wine does, a folder's write permission is never taken away.
  MakeTestFolder(Path("folder"));
  const mode_t folder_mode = ModeOf("folder");
  ASSERT_TRUE(fs_.SetAttributes(Path("folder"), kAttrReadOnly));
  EXPECT_EQ(folder_mode, ModeOf("folder"));
}

TEST_F(PosixFileSystemTest, ParsesStoredAttributeText) {
  EXPECT_EQ(kAttrHidden, ParseDosAttributeText("0x2"));
  EXPECT_EQ(kAttrHidden | kAttrSystem, ParseDosAttributeText("0X26"));
  EXPECT_EQ(kAttrSystem, ParseDosAttributeText(std::string("0x4\0", 4)));
  EXPECT_EQ(kAttrHidden, ParseDosAttributeText("0xa"));
  EXPECT_EQ(0u, ParseDosAttributeText("0x"));
  EXPECT_EQ(0u, ParseDosAttributeText("2"));
  EXPECT_EQ(0u, ParseDosAttributeText(""));
  EXPECT_EQ(0u, ParseDosAttributeText("hidden"));
  EXPECT_EQ(kAttrHidden, ParseDosAttributeText("0xfffffffff2"));
}

TEST_F(PosixFileSystemTest, DotNamesAreHidden) {
  WriteTestFile(Path(".profile"), "");
  MakeTestFolder(Path(".cache"));
  EXPECT_EQ(kAttrArchive | kAttrHidden, fs_.AttributesOf(Path(".profile")));
  EXPECT_EQ(kAttrDirectory | kAttrHidden, fs_.AttributesOf(Path(".cache")));
  // Clearing cannot make them visible; Wine behaves the same.
  ASSERT_TRUE(fs_.SetAttributes(Path(".profile"), 0));
  EXPECT_EQ(kAttrArchive | kAttrHidden, fs_.AttributesOf(Path(".profile")));

  std::vector<FolderEntry> entries;
  ASSERT_EQ(FsStatus::kOkay, fs_.ListFolder(temp_.path(), &entries));
  std::string listing;
  for (const FolderEntry& entry : entries) {
    listing += entry.name + "=" + std::to_string(entry.attributes) + " ";
  }
  EXPECT_EQ(".=16 ..=16 .cache=18 .profile=34 ", listing);
}

TEST_F(PosixFileSystemTest, ResolvesLetterCase) {
  MakeTestFolder(Path("Data/Maps/Docks"));
  const std::string base = NativePath(temp_.path());
  EXPECT_EQ(base + "Data/Maps/Docks/", Resolve(Path("data\\MAPS\\docks\\")));
  EXPECT_EQ(base + "Data/Maps/New/Deeper",
            Resolve(Path("DATA\\maps\\New\\Deeper")));
  // ".." is resolved by the names, as on Windows, before the case is.
  EXPECT_EQ(base + "Data/Maps", Resolve(Path("data/maps/../MAPS")));
  // Linux has no drives and no shares.
  EXPECT_EQ("", Resolve("C:\\x"));
  EXPECT_EQ("", Resolve("\\\\server\\share\\x"));

  // Two names that differ only in case (possible only on Linux): the exact
  // one wins, else always the same one.
  MakeTestFolder(Path("DATA"));
  EXPECT_EQ(base + "Data", Resolve(Path("Data")));
  EXPECT_EQ(base + "DATA", Resolve(Path("DATA")));
  EXPECT_EQ(base + "DATA", Resolve(Path("data")));
}

// As on Windows; Wine keeps the old letter case instead.
TEST_F(PosixFileSystemTest, RenameCanChangeOnlyTheLetterCase) {
  WriteTestFile(Path("readme.txt"), "text");
  ASSERT_TRUE(fs_.RenameOver(Path("readme.txt"), Path("ReadMe.TXT")));
  std::vector<FolderEntry> entries;
  ASSERT_EQ(FsStatus::kOkay, fs_.ListFolder(temp_.path(), &entries));
  ASSERT_EQ(3u, entries.size());
  EXPECT_EQ("ReadMe.TXT", entries[2].name);
  EXPECT_EQ("text", ReadTestFile(Path("ReadMe.TXT")));
}

TEST_F(PosixFileSystemTest, SharingFollowsTheFileNotItsName) {
  WriteTestFile(Path("gta3.img"), "x");
  ASSERT_EQ(0, link(Native("gta3.img").c_str(), Native("alias.img").c_str()));
  std::unique_ptr<File> held =
      fs_.Open(Path("gta3.img"), OpenMode::kReadWrite, nullptr);
  ASSERT_TRUE(held);
  FsStatus status = FsStatus::kOkay;
  EXPECT_FALSE(fs_.Open(Path("alias.img"), OpenMode::kRead, &status));
  EXPECT_EQ(FsStatus::kSharingViolation, status);
  // Another instance sees the same table, as every handle does on Windows.
  PosixFileSystem other;
  EXPECT_FALSE(other.Open(Path("gta3.img"), OpenMode::kRead, &status));
  EXPECT_EQ(FsStatus::kSharingViolation, status);
  held.reset();
  EXPECT_TRUE(other.Open(Path("alias.img"), OpenMode::kRead, &status));
}

// The window program runs the engine on a worker thread while the window
// may look at files: the table of open files must not let two threads in.
TEST_F(PosixFileSystemTest, OnlyOneThreadHoldsAFile) {
  WriteTestFile(Path("shared.dat"), "");
  std::atomic<int> holders{0};
  std::atomic<int> overlaps{0};
  std::atomic<int> opens{0};
  auto contend = [&] {
    for (int i = 0; i < 5000; ++i) {
      std::unique_ptr<File> file =
          fs_.Open(Path("shared.dat"), OpenMode::kReadWrite, nullptr);
      if (!file) continue;
      ++opens;
      if (++holders != 1) ++overlaps;
      file->WriteAt(0, "x", 1);
      --holders;
    }
  };
  std::thread first(contend);
  std::thread second(contend);
  first.join();
  second.join();
  EXPECT_EQ(0, overlaps.load());
  EXPECT_GT(opens.load(), 0);
}

TEST_F(PosixFileSystemTest, AbsolutePathFromLinuxSpelling) {
  EXPECT_EQ("\\home\\me\\vc", fs_.AbsolutePath("/home/me/vc"));
  EXPECT_EQ("\\home\\me\\vc", fs_.AbsolutePath("/home//me/./vc/"));
  EXPECT_EQ("\\home\\vc", fs_.AbsolutePath("/home/me/../vc"));
  EXPECT_EQ("\\", fs_.AbsolutePath("/"));
  EXPECT_EQ("\\", fs_.AbsolutePath("/../.."));

  const std::string before = fs_.CurrentFolder();
  ASSERT_TRUE(fs_.ChangeFolder(temp_.path()));
  const std::string here = fs_.CurrentFolder();
  EXPECT_EQ(here + "\\vc", fs_.AbsolutePath("vc"));
  EXPECT_EQ(here + "\\vc", fs_.AbsolutePath("./vc/../vc"));
  EXPECT_EQ(here, fs_.AbsolutePath(""));
  ASSERT_TRUE(fs_.ChangeFolder(before));
}

}  // namespace
}  // namespace quarn
