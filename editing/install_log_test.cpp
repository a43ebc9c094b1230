#include "editing/install_log.h"

#include <gtest/gtest.h>

#include "testutil/script_run.h"
#include "testutil/test_files.h"

namespace quarn {
namespace {

class InstallLogTest : public ::testing::Test {
 protected:
  InstallLogTest()
      : fs_(MakeNativeFileSystem()),
        log_(InstallLog::Create(*fs_, folder_.path(), &window_)) {}

  // The log holds its file unshared, as Windows lets nobody else read it
  // then: the file is read once the log has let it go.
  std::string ClosedFile() {
    log_->CloseFile();
    return ReadTestFile(folder_.path() + kLogFileName);
  }

  TempFolder folder_;
  std::unique_ptr<FileSystem> fs_;
  MemoryLogWindow window_;
  std::unique_ptr<InstallLog> log_;
};

TEST_F(InstallLogTest, LinesAndTextReachWindowAndFileAlike) {
  ASSERT_TRUE(log_);
  log_->LogLine("");
  log_->LogText("abc");
  log_->LogLine("ok");
  log_->LogLine(" ");
  EXPECT_EQ("\r\nabcok\r\n \r\n", window_.shown);
  EXPECT_EQ(window_.shown, ClosedFile());
}

TEST_F(InstallLogTest, LongLinesLoseTheirEndFirst) {
  log_->LogLine(std::string(1897, 'a'));
  log_->LogLine(std::string(1898, 'b'));
  log_->LogLine(std::string(1899, 'c'));
  log_->LogLine(std::string(2500, 'd'));
  log_->LogText(std::string(2500, 'e'));  // text is never cut
  const std::string expected =
      std::string(1897, 'a') + "\r\n" + std::string(1898, 'b') + "\r" +
      std::string(1899, 'c') + std::string(1899, 'd') + std::string(2500, 'e');
  EXPECT_EQ(expected, window_.shown);
  EXPECT_EQ(expected, ClosedFile());
}

TEST_F(InstallLogTest, ClearingTheWindowKeepsTheFile) {
  log_->LogLine("first");
  log_->ClearWindow();
  log_->LogLine("second");
  EXPECT_EQ("second\r\n", window_.shown);
  EXPECT_EQ("first\r\nsecond\r\n", ClosedFile());
  log_->LogLine("third");  // after the end of the run only the window sees it
  EXPECT_EQ("second\r\nthird\r\n", window_.shown);
  EXPECT_EQ("first\r\nsecond\r\n", ClosedFile());
}

TEST_F(InstallLogTest, EveryStartBeginsAFreshFile) {
  log_->LogLine("old run");
  log_->CloseFile();
  log_ = InstallLog::Create(*fs_, folder_.path(), nullptr);
  ASSERT_TRUE(log_);
  log_->LogLine("new");
  EXPECT_EQ("new\r\n", ClosedFile());
}

TEST_F(InstallLogTest, NoLogWithoutAWritableFolder) {
  EXPECT_EQ(nullptr,
            InstallLog::Create(*fs_, folder_.path() + "missing\\", nullptr));
}

}  // namespace
}  // namespace quarn
