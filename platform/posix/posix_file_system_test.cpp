// What only the Linux backend has to get right: agreeing with Wine about
// what is stored on disk, and turning Linux paths into engine paths.
#include "platform/posix/posix_file_system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

// Runs `take` in a child process, which keeps what it took until it is
// killed; returns the child's id once `take` has returned, or -1 when
// `take` failed.
template <typename Take>
pid_t HoldInChild(Take take) {
  int ready[2];
  if (pipe(ready) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    close(ready[0]);
    const auto kept = take();
    const char taken = kept ? 1 : 0;
    if (write(ready[1], &taken, 1) != 1) _exit(1);
    for (;;) pause();
  }
  close(ready[1]);
  char taken = 0;
  const bool got = child > 0 && read(ready[0], &taken, 1) == 1 && taken == 1;
  close(ready[0]);
  if (got) return child;
  if (child > 0) {
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
  }
  return -1;
}

// Kills a child as a crash would, and waits for it to be gone.
void KillChild(pid_t child) {
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
}

// True when a child process can take the run lock of `folder`.
bool ChildCanLock(const std::string& folder) {
  const pid_t child = fork();
  if (child == 0) {
    PosixFileSystem fs;
    _exit(fs.LockFolder(folder, nullptr) ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The lock Wine takes for LockFileEx on the lock file: a process-owned
// POSIX record lock on its first byte.
bool TakeRecordLock(const std::string& native_file) {
  const int fd = open(native_file.c_str(), O_RDWR);
  struct flock range = {};
  range.l_type = F_WRLCK;
  range.l_whence = SEEK_SET;
  range.l_start = 0;
  range.l_len = 1;
  return fd >= 0 && fcntl(fd, F_SETLK, &range) == 0;
}

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

// The lock is the kernel's: another process cannot take it while this one
// holds it, not even after this process opened and closed the lock file
// elsewhere (which drops a process-owned record lock), and a holder killed
// without a chance to clean up leaves it free.
TEST_F(PosixFileSystemTest, RunLockExcludesOtherProcessesUntilTheyDie) {
  ASSERT_EQ(0, mkdir(Native("Game").c_str(), 0777));
  std::unique_ptr<FolderLock> held = fs_.LockFolder(Path("game"), nullptr);
  ASSERT_TRUE(held);
  close(open(Native("Game/QuarnUndo/run.lock").c_str(), O_RDONLY));
  EXPECT_FALSE(ChildCanLock(Path("GAME")));
  held.reset();
  EXPECT_TRUE(ChildCanLock(Path("GAME")));

  const pid_t holder =
      HoldInChild([&] { return fs_.LockFolder(Path("game"), nullptr); });
  ASSERT_GT(holder, 0);
  FsStatus status = FsStatus::kOkay;
  EXPECT_FALSE(fs_.LockFolder(Path("game"), &status));
  EXPECT_EQ(FsStatus::kSharingViolation, status);
  KillChild(holder);
  EXPECT_TRUE(fs_.LockFolder(Path("game"), &status));
  EXPECT_EQ("", ReadTestFile(Path("Game\\QuarnUndo\\run.lock")));
}

// Wine turns a Windows byte-range lock into a record lock on the same
// bytes of the Linux file, so a Linux run and a run under Wine meet.
TEST_F(PosixFileSystemTest, RunLockMeetsTheRecordLocksWineTakes) {
  ASSERT_EQ(0, mkdir(Native("game").c_str(), 0777));
  const std::string lock_file = Native("game/QuarnUndo/run.lock");
  {
    std::unique_ptr<FolderLock> held = fs_.LockFolder(Path("game"), nullptr);
    ASSERT_TRUE(held);
    EXPECT_EQ(-1, HoldInChild([&] { return TakeRecordLock(lock_file); }));
  }
  const pid_t wine_like =
      HoldInChild([&] { return TakeRecordLock(lock_file); });
  ASSERT_GT(wine_like, 0);
  FsStatus status = FsStatus::kOkay;
  EXPECT_FALSE(fs_.LockFolder(Path("game"), &status));
  EXPECT_EQ(FsStatus::kSharingViolation, status);
  KillChild(wine_like);
  EXPECT_TRUE(fs_.LockFolder(Path("game"), &status));
}

}  // namespace
}  // namespace quarn
