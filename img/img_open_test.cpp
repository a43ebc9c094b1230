#include "img/img_open.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run/dispatch_table.h"
#include "testutil/expected_log.h"
#include "testutil/img_test_archive.h"
#include "testutil/script_run.h"
#include "testutil/test_files.h"

namespace quarn {
namespace {

std::vector<TestImgRecord> ManyRecords(int count) {
  std::vector<TestImgRecord> records;
  for (int i = 0; i < count; ++i) records.push_back({i, 1, "m.dff"});
  return records;
}

TEST(ImgOpenDefTest, ReadsEveryRecordByteForByte) {
  ScriptRun run;
  // Old bytes after a NUL, and a name filling the whole field, must be held
  // exactly as they lie on disk.
  const std::vector<TestImgRecord> records = {
      {0, 2, "a.dff"},
      {2, 1, std::string("b.txd\0old.dff", 13)},
      {3, 4, "abcdefghijklmnopqrstuvwx"},
  };
  WriteTestImg(run.game(), records);
  run.WriteScript("img opendef");

  EXPECT_EQ(SingleModLog(run.game(), {"Reading IMG...", "Indexes:  3"}, true),
            run.Run());
  const ImgDirectory& img = run.context().Img;
  EXPECT_TRUE(img.IsOpen);
  EXPECT_EQ(TestImgDirectoryBytes(records), HeldDirectoryBytes(img));
  EXPECT_EQ("abcdefghijklmnopqrstuvwx", img.Entries[2].Name());
  EXPECT_EQ("b.txd", img.Entries[1].Name());
}

TEST(ImgOpenDefTest, DirectoryLengthDecidesTheCount) {
  {
    ScriptRun run;
    WriteTestImg(run.game(), {});
    run.WriteScript("IMG OPENDEF");
    EXPECT_EQ(SingleModLog(run.game(), {"Reading IMG...", "Indexes:  0"}, true),
              run.Run());
    EXPECT_TRUE(run.context().Img.IsOpen);
  }
  {
    ScriptRun run;
    WriteTestImg(run.game(), {{0, 1, "a.dff"}});
    WriteTestFile(run.game() + "models\\gta3.dir",
                  TestImgDirectoryBytes({{0, 1, "a.dff"}}) + "x");
    run.WriteScript("IMG OPENDEF");
    EXPECT_EQ(
        SingleModLog(run.game(), {".DIR file corrupt. Invalid length."}, false),
        run.Run());
    EXPECT_FALSE(run.context().Img.IsOpen);
  }
  {
    ScriptRun run;
    WriteTestImg(run.game(), ManyRecords(30001), 0);
    run.WriteScript("IMG OPENDEF");
    EXPECT_EQ(
        SingleModLog(run.game(), {"Reading IMG...", "Indexes:  30001"}, true),
        run.Run());
    EXPECT_EQ(30001u, run.context().Img.Entries.size());
  }
  {
    // One record more than the directory can hold is refused before
    // anything is read.
    ScriptRun run;
    WriteTestImg(run.game(), ManyRecords(30002), 0);
    run.WriteScript("IMG OPENDEF\nPRINT not reached");
    EXPECT_EQ(SingleModLog(run.game(),
                           {".DIR file too large. Entries:  30002 (at most "
                            "30001)"},
                           false),
              run.Run());
    EXPECT_FALSE(run.context().Img.IsOpen);
    EXPECT_TRUE(run.context().Img.Entries.empty());
  }
}

TEST(ImgOpenDefTest, MissingPathOrFilesFailTheRun) {
  {
    ScriptRun run;
    WriteTestImg(run.game(), {{0, 1, "a.dff"}});
    const std::string dir = run.game() + "models\\gta3.dir";
    ASSERT_TRUE(run.fs().SetAttributes(dir, kAttrReadOnly));
    run.context().ChosenPath = "<scripted>";
    run.WriteScript("IMG OPENDEF");
    EXPECT_EQ("Install path unknown\r\n" + FailedBanner(), run.Run());
    // Nothing was touched: the directory is still read-only.
    EXPECT_EQ(kAttrReadOnly, run.fs().AttributesOf(dir) & kAttrReadOnly);
  }
  {
    ScriptRun run;
    WriteTestFile(run.game() + "models\\gta3.img", "");
    run.WriteScript("IMG OPENDEF");
    EXPECT_EQ(SingleModLog(run.game(),
                           {run.game() + "models\\gta3.dir not found"}, false),
              run.Run());
  }
  {
    ScriptRun run;
    WriteTestImg(run.game(), {{0, 1, "a.dff"}});
    ASSERT_TRUE(
        run.fs().SetAttributes(run.game() + "models\\gta3.dir", kAttrHidden));
    run.WriteScript("IMG OPENDEF");
    EXPECT_EQ(SingleModLog(run.game(),
                           {run.game() + "models\\gta3.dir not found"}, false),
              run.Run());
  }
  {
    ScriptRun run;
    WriteTestFile(run.game() + "models\\gta3.dir", "");
    run.WriteScript("IMG OPENDEF");
    EXPECT_EQ(SingleModLog(run.game(),
                           {run.game() + "models\\gta3.img not found"}, false),
              run.Run());
    EXPECT_FALSE(run.context().Img.IsOpen);
  }
}

TEST(ImgOpenDefTest, ReadOnlyFilesAreMadeWritableAndHeldUnshared) {
  ScriptRun run;
  WriteTestImg(run.game(), {{0, 1, "a.dff"}});
  const std::string dir = run.game() + "models\\gta3.dir";
  const std::string archive = run.game() + "models\\gta3.img";
  ASSERT_TRUE(run.fs().SetAttributes(dir, kAttrReadOnly));
  ASSERT_TRUE(run.fs().SetAttributes(archive, kAttrReadOnly | kAttrArchive));

  InstallContext& ctx = run.context();
  ctx.GamePath = run.game();
  ctx.ScriptLine = "IMG OPENDEF";
  ASSERT_EQ(CommandResult::kContinue, DispatchLine(ctx));
  EXPECT_EQ(0u, run.fs().AttributesOf(dir) & kAttrReadOnly);
  EXPECT_EQ(0u, run.fs().AttributesOf(archive) & kAttrReadOnly);
  for (const std::string& path : {dir, archive}) {
    FsStatus status = FsStatus::kOkay;
    EXPECT_EQ(nullptr, run.fs().Open(path, OpenMode::kRead, &status));
    EXPECT_EQ(FsStatus::kSharingViolation, status) << path;
  }
}

TEST(ImgOpenDefTest, FileHeldByAnotherProgramCannotBeOpened) {
  ScriptRun run;
  WriteTestImg(run.game(), {{0, 1, "a.dff"}});
  std::unique_ptr<File> other =
      run.fs().Open(run.game() + "models\\gta3.img", OpenMode::kRead, nullptr);
  ASSERT_NE(nullptr, other);
  run.WriteScript("IMG OPENDEF");
  EXPECT_EQ(
      SingleModLog(run.game(),
                   {"Can't access " + run.game() + "models\\gta3.img"}, false),
      run.Run());
}

TEST(ImgOpenDefTest, SecondOpenFailsWhateverHappenedSince) {
  {
    ScriptRun run;
    WriteTestImg(run.game(), {{0, 1, "a.dff"}, {1, 1, "b.dff"}});
    run.WriteScript("IMG OPENDEF\nIMG DELETE a.dff\nIMG OPENDEF\nPRINT no");
    EXPECT_EQ(SingleModLog(run.game(),
                           {"Reading IMG...", "Indexes:  2",
                            "Deleting object a.dff ... ok", "IMG already open"},
                           false),
              run.Run());
    // The second open read nothing again: the mark is still there.
    EXPECT_TRUE(run.context().Img.Entries[0].IsHole());
  }
  {
    // Opened by one mod's script, still open in the next one's.
    ScriptRun run;
    WriteTestImg(run.game(), {{0, 1, "a.dff"}});
    run.context().ModCatalogue.Present = true;
    run.context().ModCatalogue.Entries = {{"X1", "one", 1}, {"X2", "two", 1}};
    WriteTestFile(run.installer() + "X1\\QuarnInstall.txt", "IMG OPENDEF\r\n");
    WriteTestFile(run.installer() + "X2\\QuarnInstall.txt", "img opendef\r\n");
    const std::string path_line = SelectedGameLine(run.game());
    EXPECT_EQ(path_line + "Reading IMG...\r\nIndexes:  1\r\n\r\n\r\n\r\n" +
                  path_line + "IMG already open\r\n" + FailedBanner(),
              run.Run());
  }
}

TEST(ImgOpenDefTest, TextAfterTheCommandMakesAnotherCommand) {
  ScriptRun run;
  WriteTestImg(run.game(), {{0, 1, "a.dff"}});
  run.WriteScript("IMG OPENDEF now");
  EXPECT_EQ(
      SingleModLog(run.game(), {"Unknown command: IMG OPENDEF now"}, false),
      run.Run());
  EXPECT_FALSE(run.context().Img.IsOpen);
}

}  // namespace
}  // namespace quarn
