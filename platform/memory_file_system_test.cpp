// What the shared contract suite does not cover: clones, drives, and how
// "." and ".." resolve (the fuzzers rely on all three).
#include "platform/memory_file_system.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace quarn {
namespace {

void Put(FileSystem& fs, const std::string& path, const std::string& bytes) {
  std::unique_ptr<File> file = fs.Open(path, OpenMode::kCreate, nullptr);
  ASSERT_TRUE(file) << path;
  ASSERT_TRUE(file->WriteAt(0, bytes.data(), bytes.size()));
}

std::string Read(FileSystem& fs, const std::string& path) {
  std::unique_ptr<File> file = fs.Open(path, OpenMode::kRead, nullptr);
  if (!file) return "<cannot open>";
  uint64_t length = 0;
  file->Length(&length);
  std::string bytes(static_cast<size_t>(length), '\0');
  size_t got = 0;
  file->ReadAt(0, &bytes[0], bytes.size(), &got);
  return bytes.substr(0, got);
}

TEST(MemoryFileSystem, ClonesAreIndependentAfterEveryKindOfChange) {
  MemoryFileSystem original;
  ASSERT_TRUE(original.MakeFolder("C:\\"));
  ASSERT_TRUE(original.MakeFolder("C:\\Game"));
  // Several pages, so that a write to one page must not reach the others.
  const std::string big(10000, 'b');
  Put(original, "C:\\Game\\big.img", big);
  Put(original, "C:\\Game\\list.dat", "list");
  ASSERT_TRUE(original.ChangeFolder("c:\\game"));

  std::unique_ptr<MemoryFileSystem> clone = original.Clone();
  EXPECT_EQ("C:\\Game", clone->CurrentFolder());
  {
    std::unique_ptr<File> file =
        clone->Open("big.img", OpenMode::kReadWrite, nullptr);
    ASSERT_TRUE(file);
    ASSERT_TRUE(file->WriteAt(5000, "X", 1));
    ASSERT_TRUE(file->Resize(6000));
    // Writing nothing far away does not grow the file.
    ASSERT_TRUE(file->WriteAt(20000, "", 0));
  }
  ASSERT_TRUE(clone->RenameOver("list.dat", "renamed.dat"));
  ASSERT_TRUE(clone->SetAttributes("renamed.dat", kAttrReadOnly));
  ASSERT_TRUE(clone->MakeFolder("new"));

  EXPECT_EQ(big, Read(original, "big.img"));
  EXPECT_EQ("list", Read(original, "list.dat"));
  EXPECT_EQ(kNoSuchFile, original.AttributesOf("new"));
  std::string changed = big.substr(0, 6000);
  changed[5000] = 'X';
  EXPECT_EQ(changed, Read(*clone, "BIG.IMG"));
  EXPECT_EQ(kAttrArchive | kAttrReadOnly, clone->AttributesOf("renamed.dat"));

  // A file open in the original is not open in a clone made before; a file
  // opened for reading cannot be changed through it.
  std::unique_ptr<File> held =
      original.Open("big.img", OpenMode::kRead, nullptr);
  EXPECT_TRUE(clone->Open("big.img", OpenMode::kRead, nullptr));
  EXPECT_FALSE(held->WriteAt(0, "X", 1));
  EXPECT_FALSE(held->Resize(0));
  held.reset();
  EXPECT_EQ(big, Read(original, "big.img"));
}

TEST(MemoryFileSystem, PathsResolveAsWindowsResolvesThem) {
  MemoryFileSystem fs;
  ASSERT_TRUE(fs.MakeFolder("\\game"));
  ASSERT_TRUE(fs.MakeFolder("\\game\\data"));
  Put(fs, "\\game\\data\\..\\.\\top.txt", "top");
  EXPECT_EQ("top", Read(fs, "\\GAME\\TOP.TXT"));
  // ".." stops at the root.
  EXPECT_EQ("top", Read(fs, "\\..\\..\\game\\top.txt"));
  EXPECT_EQ("\\GAME\\TOP.TXT", fs.CanonicalPath("/game/data/../Top.txt"));
  EXPECT_EQ("\\OUTSIDE", fs.CanonicalPath("\\game\\data\\..\\..\\outside"));
  ASSERT_TRUE(fs.ChangeFolder("\\game\\data"));
  EXPECT_EQ("\\GAME\\X", fs.CanonicalPath("..\\x"));
  EXPECT_EQ("D:\\X", fs.CanonicalPath("d:\\x"));
  EXPECT_EQ("\\game\\data\\sub", fs.AbsolutePath("sub"));

  // Names Windows refuses are not created.
  FsStatus status = FsStatus::kOkay;
  EXPECT_FALSE(fs.Open("bad?.txt", OpenMode::kCreate, &status));
  EXPECT_EQ(FsStatus::kOtherError, status);
  EXPECT_FALSE(fs.MakeFolder("a:b"));
  Put(fs, "good.txt", "good");
  EXPECT_FALSE(fs.CopyOver("good.txt", "co*py.txt"));
  EXPECT_FALSE(fs.RenameOver("good.txt", "new\x01.txt"));
  EXPECT_EQ("good", Read(fs, "good.txt"));
}

}  // namespace
}  // namespace quarn
