#include "col/col_close.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/faulty_file_system.h"
#include "run/dispatch_table.h"
#include "testutil/col_test_chunks.h"
#include "testutil/expected_log.h"
#include "testutil/script_run.h"
#include "testutil/single_mod_test.h"
#include "testutil/test_files.h"

namespace quarn {
namespace {

const char kFile[] = "models\\coll\\test.col";

using ColCloseTest = SingleModTest;

TEST_F(ColCloseTest, DeletingEveryModelLeavesAnEmptyFile) {
  const std::string path = game() + kFile;
  WriteTestFile(path, TestColModel("Rock", 1) + TestColModel("ROCK", 2));
  ASSERT_TRUE(run_.fs().SetAttributes(path, kAttrReadOnly | kAttrArchive));

  EXPECT_EQ(SingleModLog(game(),
                         {"Opening COL file: " + path, "Rock", "ROCK",
                          "Deleting: rock ... ok",
                          "Rewriting COL file: " + path + " ... done"},
                         true),
            RunScript(std::string("COL OPEN ") + kFile +
                      "\nCOL DELETE rock\nCOL CLOSE"));
  EXPECT_EQ("", ReadTestFile(path));
  EXPECT_FALSE(run_.context().Col.IsOpen);
}

// Lines run straight through the dispatch table over a file system that
// fails on request; the log stays in memory.
class FaultyColCloseTest : public ::testing::Test {
 protected:
  FaultyColCloseTest()
      : native_(MakeNativeFileSystem()),
        fs_(*native_),
        log_(&window_, nullptr),
        ctx_(fs_, log_) {
    ctx_.GamePath = folder_.path();
    ctx_.ModPath = folder_.path();
  }

  CommandResult Line(const std::string& line) {
    ctx_.ScriptLine = line;
    return DispatchLine(ctx_);
  }

  std::vector<std::string> CollFolder() {
    std::vector<FolderEntry> entries;
    fs_.ListFolder(folder_.path() + "models\\coll\\", &entries);
    std::vector<std::string> names;
    for (const FolderEntry& entry : entries) names.push_back(entry.name);
    return names;
  }

  TempFolder folder_;
  std::unique_ptr<FileSystem> native_;
  FaultyFileSystem fs_;
  MemoryLogWindow window_;
  InstallLog log_;
  InstallContext ctx_;
};

TEST_F(FaultyColCloseTest, FailedRewriteKeepsTheOldFileWhole) {
  const std::string path = folder_.path() + kFile;
  const std::string original =
      TestColModel("keep", 1) + TestColModel("drop", 1) + TestColModel("k2", 1);
  FaultPlan first_write;
  first_write.failing_write = 1;
  FaultPlan disk_full;
  disk_full.failing_write = 1;
  disk_full.writes_stay_failed = true;
  FaultPlan rename;
  rename.fail_rename = true;
  for (const FaultPlan& plan : {first_write, disk_full, rename}) {
    WriteTestFile(path, original);
    window_.Clear();
    ctx_.Col = OpenColFile();
    ASSERT_EQ(CommandResult::kContinue, Line(std::string("COL OPEN ") + kFile));
    ASSERT_EQ(CommandResult::kContinue, Line("COL DELETE drop"));
    fs_.Plan(plan);
    EXPECT_EQ(CommandResult::kEndRun, Line("col close"));
    fs_.Plan(FaultPlan());
    EXPECT_EQ("Opening COL file: " + path +
                  "\r\nkeep\r\ndrop\r\nk2\r\nDeleting: drop ... ok\r\n"
                  "Rewriting COL file: " +
                  path + " ... failed\r\n",
              window_.shown);
    EXPECT_TRUE(original == ReadTestFile(path));
    EXPECT_EQ(std::vector<std::string>({".", "..", "test.col"}), CollFolder());
  }
}

}  // namespace
}  // namespace quarn
