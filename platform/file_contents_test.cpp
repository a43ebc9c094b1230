#include "platform/file_contents.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "testutil/test_files.h"

namespace quarn {
namespace {

TEST(FileContentsTest, WholeFilesRoundTripExactly) {
  TempFolder temp;
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  const std::string path = temp.path() + "list.dat";
  const std::string bytes("IDE DATA\\DEFAULT.IDE\r\n\0\x1a\xff end", 29);

  ASSERT_TRUE(WriteWholeFile(*fs, path, bytes));
  EXPECT_EQ(bytes, ReadTestFile(path));
  std::string read = "stale";
  ASSERT_TRUE(ReadWholeFile(*fs, path, &read));
  EXPECT_EQ(bytes, read);

  ASSERT_TRUE(WriteWholeFile(*fs, path, "short"));
  ASSERT_TRUE(ReadWholeFile(*fs, path, &read));
  EXPECT_EQ("short", read);
  ASSERT_TRUE(WriteWholeFile(*fs, path, ""));
  ASSERT_TRUE(ReadWholeFile(*fs, path, &read));
  EXPECT_EQ("", read);

  EXPECT_FALSE(ReadWholeFile(*fs, temp.path() + "absent.dat", &read));
  EXPECT_FALSE(WriteWholeFile(*fs, temp.path() + "absent\\x.dat", "x"));
  ASSERT_TRUE(fs->SetAttributes(path, kAttrReadOnly));
  EXPECT_FALSE(WriteWholeFile(*fs, path, "lost"));
  ASSERT_TRUE(ReadWholeFile(*fs, path, &read));
  EXPECT_EQ("", read);
}

}  // namespace
}  // namespace quarn
