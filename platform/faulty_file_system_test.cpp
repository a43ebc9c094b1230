#include "platform/faulty_file_system.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "testutil/test_files.h"

namespace quarn {
namespace {

class FaultyFileSystemTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& relative) const {
    return temp_.path() + relative;
  }

  TempFolder temp_;
  std::unique_ptr<FileSystem> real_ = MakeNativeFileSystem();
  FaultyFileSystem faulty_{*real_};
};

TEST_F(FaultyFileSystemTest, TheChosenWriteFailsHalfDone) {
  FaultPlan plan;
  plan.failing_write = 3;
  faulty_.Plan(plan);
  std::unique_ptr<File> a = faulty_.Open(Path("a"), OpenMode::kCreate, nullptr);
  std::unique_ptr<File> b = faulty_.Open(Path("b"), OpenMode::kCreate, nullptr);
  ASSERT_TRUE(a && b);
  EXPECT_TRUE(a->WriteAt(0, "1111", 4));
  EXPECT_TRUE(b->WriteAt(0, "2222", 4));
  EXPECT_FALSE(a->WriteAt(4, "3333", 4));
  EXPECT_TRUE(a->WriteAt(8, "4444", 4));
  EXPECT_EQ(4, faulty_.writes());
  a.reset();
  b.reset();
  EXPECT_EQ(std::string("111133\0\0004444", 12), ReadTestFile(Path("a")));
  EXPECT_EQ("2222", ReadTestFile(Path("b")));

  plan.failing_write = 2;
  plan.writes_stay_failed = true;
  faulty_.Plan(plan);
  a = faulty_.Open(Path("a"), OpenMode::kCreate, nullptr);
  ASSERT_TRUE(a);
  EXPECT_TRUE(a->WriteAt(0, "ab", 2));
  EXPECT_FALSE(a->WriteAt(2, "cd", 2));
  EXPECT_FALSE(a->WriteAt(3, "ef", 2));
  EXPECT_EQ(3, faulty_.writes());
}

TEST_F(FaultyFileSystemTest, TheChosenReadFails) {
  WriteTestFile(Path("data"), "abc");
  FaultPlan plan;
  plan.failing_read = 2;
  faulty_.Plan(plan);
  std::unique_ptr<File> file =
      faulty_.Open(Path("data"), OpenMode::kRead, nullptr);
  ASSERT_TRUE(file);
  char buffer[4];
  size_t got = 9;
  EXPECT_TRUE(file->ReadAt(0, buffer, 3, &got));
  EXPECT_EQ(3u, got);
  EXPECT_FALSE(file->ReadAt(0, buffer, 3, &got));
  EXPECT_EQ(0u, got);
  EXPECT_TRUE(file->ReadAt(1, buffer, 3, &got));
  EXPECT_EQ("bc", std::string(buffer, got));
  EXPECT_EQ(3, faulty_.reads());
}

TEST_F(FaultyFileSystemTest, WholeOperationsFailOnRequest) {
  WriteTestFile(Path("from"), "from");
  WriteTestFile(Path("to"), "to");
  FaultPlan plan;
  plan.fail_copy = true;
  plan.fail_rename = true;
  plan.fail_resize = true;
  plan.fail_flush = true;
  faulty_.Plan(plan);
  EXPECT_FALSE(faulty_.CopyOver(Path("from"), Path("to")));
  EXPECT_FALSE(faulty_.RenameOver(Path("from"), Path("to")));
  std::unique_ptr<File> file =
      faulty_.Open(Path("to"), OpenMode::kReadWrite, nullptr);
  ASSERT_TRUE(file);
  EXPECT_FALSE(file->Resize(0));
  EXPECT_FALSE(file->Flush());
  file.reset();
  EXPECT_EQ("to", ReadTestFile(Path("to")));

  faulty_.Plan(FaultPlan());
  EXPECT_TRUE(faulty_.CopyOver(Path("from"), Path("to")));
  EXPECT_EQ("from", ReadTestFile(Path("to")));
  EXPECT_TRUE(faulty_.RenameOver(Path("from"), Path("moved")));
  EXPECT_EQ(kNoSuchFile, faulty_.AttributesOf(Path("from")));
  // Opens through the wrapper are as unshared as the real ones.
  file = faulty_.Open(Path("moved"), OpenMode::kRead, nullptr);
  FsStatus status = FsStatus::kOkay;
  EXPECT_FALSE(faulty_.Open(Path("moved"), OpenMode::kRead, &status));
  EXPECT_EQ(FsStatus::kSharingViolation, status);
}

// Writes, resizes, flushes, renames and copies share one count, and only
// changes inside the chosen folder count.
TEST_F(FaultyFileSystemTest, TheChosenChangeFailsInsideItsFolder) {
  WriteTestFile(Path("game\\a"), "aaaa");
  WriteTestFile(Path("outside"), "out");
  FaultPlan plan;
  plan.changes_under = Path("GAME\\");
  std::vector<bool> outcomes;
  for (int failing = 1; failing <= 6; ++failing) {
    plan.failing_change = failing;
    faulty_.Plan(plan);
    WriteTestFile(Path("loose"), "loose");
    std::unique_ptr<File> file =
        faulty_.Open(Path("game\\a"), OpenMode::kReadWrite, nullptr);
    std::unique_ptr<File> other =
        faulty_.Open(Path("outside"), OpenMode::kReadWrite, nullptr);
    ASSERT_TRUE(file && other);
    EXPECT_TRUE(other->WriteAt(0, "OUT", 3));
    EXPECT_TRUE(other->Flush());
    other.reset();
    outcomes.push_back(file->WriteAt(0, "bbbb", 4));
    outcomes.push_back(file->Resize(4));
    outcomes.push_back(file->Flush());
    file.reset();
    EXPECT_TRUE(faulty_.CopyOver(Path("outside"), Path("copy")));
    outcomes.push_back(faulty_.CopyOver(Path("game\\a"), Path("game\\b")));
    // A rename counts when either of its names lies inside.
    outcomes.push_back(faulty_.RenameOver(Path("loose"), Path("game\\c")));
    EXPECT_EQ(5, faulty_.changes());
  }
  // Row n holds the outcomes of the run in which change n failed.
  EXPECT_EQ((std::vector<bool>{0, 1, 1, 1, 1,  //
                               1, 0, 1, 1, 1,  //
                               1, 1, 0, 1, 1,  //
                               1, 1, 1, 0, 1,  //
                               1, 1, 1, 1, 0,  //
                               1, 1, 1, 1, 1}),
            outcomes);
}

}  // namespace
}  // namespace quarn
