#include "shell/file_copy.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/faulty_file_system.h"
#include "testutil/change_recorder.h"
#include "testutil/test_files.h"

namespace quarn {
namespace {

// Records what the copy showed and asked, and cancels when told to.
class RecordingProgress : public CopyProgress {
 public:
  void Begin(const std::string&, const std::string&, int32_t steps) override {
    events.push_back("begin " + std::to_string(steps));
  }
  void Step() override { events.push_back("step"); }
  bool CancelRequested() override {
    events.push_back("asked");
    return --answers_before_cancel == 0;
  }
  void End() override { events.push_back("end"); }

  std::vector<std::string> events;
  int answers_before_cancel = -1;  // the n-th question cancels; -1 never
};

TEST(CopyPiecesTest, FiftyMillionBytePiecesAndSteps) {
  using Pieces = std::vector<uint64_t>;
  EXPECT_EQ(Pieces({50000000, 50000000, 20000000}), CopyPieces(120000000));
  EXPECT_EQ(2, ProgressSteps(120000000));
  EXPECT_EQ(Pieces({50000000}), CopyPieces(50000000));
  EXPECT_EQ(1, ProgressSteps(50000000));
  EXPECT_EQ(Pieces({50000000, 1}), CopyPieces(50000001));
  EXPECT_EQ(1, ProgressSteps(50000001));
  EXPECT_EQ(Pieces({49999999}), CopyPieces(49999999));
  EXPECT_EQ(0, ProgressSteps(49999999));
  EXPECT_EQ(Pieces(), CopyPieces(0));
  EXPECT_EQ(0, ProgressSteps(0));
}

// Passes every call on, but never changes the attributes of `stuck`.
class StuckAttributes : public FileSystemWrapper {
 public:
  StuckAttributes(FileSystem& target, std::string stuck)
      : FileSystemWrapper(target), stuck_(std::move(stuck)) {}
  bool SetAttributes(const std::string& path, uint32_t attributes) override {
    return path != stuck_ && FileSystemWrapper::SetAttributes(path, attributes);
  }

 private:
  std::string stuck_;
};

class FileCopyTest : public ::testing::Test {
 protected:
  FileCopyTest() : faulty_(*fs_) {
    WriteTestFile(source(), "0123456789");
    WriteTestFile(target(), "a longer old target file");
  }
  std::string source() const { return folder_.path() + "backup\\gta3.img"; }
  std::string target() const { return folder_.path() + "gta3.img"; }

  // What the folder of the target holds besides the backup folder.
  std::vector<std::string> TargetFolder() {
    std::vector<FolderEntry> entries;
    fs_->ListFolder(folder_.path(), &entries);
    std::vector<std::string> names;
    for (const FolderEntry& entry : entries) {
      if (entry.name != "." && entry.name != ".." && entry.name != "backup") {
        names.push_back(entry.name);
      }
    }
    return names;
  }

  CopyOutcome ProgressCopy(uint64_t piece) {
    ProgressCopier copier(faulty_, progress_, piece);
    return copier.Copy(source(), target());
  }

  TempFolder folder_;
  std::unique_ptr<FileSystem> fs_ = MakeNativeFileSystem();
  FaultyFileSystem faulty_;
  RecordingProgress progress_;
};

TEST_F(FileCopyTest, ProgressCopyInPiecesReplacesTheTargetWhole) {
  ASSERT_TRUE(fs_->SetAttributes(target(), kAttrReadOnly));
  EXPECT_EQ(CopyOutcome::kCopied, ProgressCopy(4));
  EXPECT_EQ("0123456789", ReadTestFile(target()));
  EXPECT_EQ(std::vector<std::string>(
                {"begin 2", "step", "asked", "step", "asked", "step", "end"}),
            progress_.events);
  EXPECT_EQ(std::vector<std::string>({"gta3.img"}), TargetFolder());
}

TEST_F(FileCopyTest, EmptySourceIsCopiedWithoutPieces) {
  WriteTestFile(source(), "");
  EXPECT_EQ(CopyOutcome::kCopied, ProgressCopy(4));
  EXPECT_EQ("", ReadTestFile(target()));
  EXPECT_EQ(std::vector<std::string>({"begin 0", "end"}), progress_.events);
}

TEST_F(FileCopyTest, CancelBetweenPiecesLeavesTheOldTarget) {
  progress_.answers_before_cancel = 2;
  EXPECT_EQ(CopyOutcome::kCancelled, ProgressCopy(3));
  EXPECT_EQ("a longer old target file", ReadTestFile(target()));
  EXPECT_EQ(std::vector<std::string>(
                {"begin 3", "step", "asked", "step", "asked", "end"}),
            progress_.events);
  EXPECT_EQ(std::vector<std::string>({"gta3.img"}), TargetFolder());
}

TEST_F(FileCopyTest, ReadAndWriteErrorsLeaveTheOldTarget) {
  FaultPlan read_fails;
  read_fails.failing_read = 2;
  faulty_.Plan(read_fails);
  EXPECT_EQ(CopyOutcome::kFailed, ProgressCopy(4));
  FaultPlan write_fails;
  write_fails.failing_write = 3;
  faulty_.Plan(write_fails);
  EXPECT_EQ(CopyOutcome::kFailed, ProgressCopy(4));
  FaultPlan flush_fails;
  flush_fails.fail_flush = true;
  faulty_.Plan(flush_fails);
  EXPECT_EQ(CopyOutcome::kFailed, ProgressCopy(4));
  EXPECT_EQ("a longer old target file", ReadTestFile(target()));
  EXPECT_EQ(std::vector<std::string>({"gta3.img"}), TargetFolder());
}

TEST_F(FileCopyTest, MissingOrFolderSourceCopiesNothing) {
  EXPECT_EQ(CopyOutcome::kFailed,
            ProgressCopier(*fs_, progress_, 4)
                .Copy(folder_.path() + "backup\\none.img", target()));
  MakeTestFolder(folder_.path() + "backup\\folder.img");
  EXPECT_EQ(CopyOutcome::kAccessDenied,
            ProgressCopier(*fs_, progress_, 4)
                .Copy(folder_.path() + "backup\\folder.img", target()));
  EXPECT_EQ(std::vector<std::string>(), progress_.events);
  EXPECT_EQ("a longer old target file", ReadTestFile(target()));
}

TEST_F(FileCopyTest, PlainCopyOverReadOnlyTargetAndItsFailures) {
  ASSERT_TRUE(fs_->SetAttributes(target(), kAttrReadOnly));
  PlainCopier plain(faulty_);
  EXPECT_EQ(CopyOutcome::kCopied, plain.Copy(source(), target()));
  EXPECT_EQ("0123456789", ReadTestFile(target()));

  WriteTestFile(target(), "old");
  EXPECT_EQ(CopyOutcome::kFailed,
            plain.Copy(folder_.path() + "backup\\none", target()));
  FaultPlan rename_fails;
  rename_fails.fail_rename = true;
  faulty_.Plan(rename_fails);
  EXPECT_EQ(CopyOutcome::kFailed, plain.Copy(source(), target()));
  FaultPlan flush_fails;
  flush_fails.fail_flush = true;
  faulty_.Plan(flush_fails);
  EXPECT_EQ(CopyOutcome::kFailed, plain.Copy(source(), target()));
  EXPECT_EQ("old", ReadTestFile(target()));
  EXPECT_EQ(std::vector<std::string>({"gta3.img"}), TargetFolder());
}

// Both copies are on the disk before they take the target's place.
TEST_F(FileCopyTest, CopiesAreFlushedBeforeTheyReplaceTheTarget) {
  ChangeRecorder recorder(*fs_, folder_.path());
  ProgressCopier in_pieces(recorder, progress_, 4);
  EXPECT_EQ(CopyOutcome::kCopied, in_pieces.Copy(source(), target()));
  // A source whose read-only bit will not clear (on a disc) gives a
  // read-only copy, flushed all the same.
  ASSERT_TRUE(fs_->SetAttributes(source(), kAttrReadOnly));
  WriteTestFile(target(), "old");
  StuckAttributes stuck(recorder, source());
  PlainCopier plain(stuck);
  EXPECT_EQ(CopyOutcome::kCopied, plain.Copy(source(), target()));
  EXPECT_EQ(
      (std::vector<std::string>{
          "write gta3.img.quarn-new", "flush gta3.img.quarn-new",
          "rename gta3.img.quarn-new gta3.img",
          "copy backup\\gta3.img gta3.img.quarn-new",
          "flush gta3.img.quarn-new", "rename gta3.img.quarn-new gta3.img"}),
      recorder.changes());
  EXPECT_EQ("0123456789", ReadTestFile(target()));
  EXPECT_EQ(kAttrReadOnly, fs_->AttributesOf(target()) & kAttrReadOnly);
  EXPECT_EQ(std::vector<std::string>({"gta3.img"}), TargetFolder());
  // The temporary folder is removed without the engine's help.
  fs_->SetAttributes(source(), 0);
  fs_->SetAttributes(target(), 0);
}

}  // namespace
}  // namespace quarn
