#include "img/img_rebuild.h"

#include <string>

#include "gtest/gtest.h"
#include "testutil/expected_log.h"
#include "testutil/img_test_game.h"
#include "testutil/script_run.h"

namespace quarn {
namespace {

std::string SuccessLog(const ImgTestGame& game, const std::string& files,
                       const std::string& reclaimed) {
  return "Rebuilding IMG...\r\nFilling in objects...\r\n" + files +
         "- objects deleted (or replaced): " + reclaimed + "\r\n" +
         "- recreating: " + game.game() + "models\\gta3.dir\r\n" +
         "Rebuilding done\r\n";
}

// After a rebuild the archive is closed, its queues are empty and the game
// files are free for anyone to open, with nothing left beside them.
void ExpectClosedAndTidy(ImgTestGame& game) {
  EXPECT_FALSE(game.ctx().Img.IsOpen);
  EXPECT_TRUE(game.ctx().Img.PendingAdds.Others.empty());
  EXPECT_TRUE(game.ctx().Img.PendingAdds.Textures.empty());
  EXPECT_TRUE(game.fs().Open(game.game() + ImgTestGame::kImg,
                             OpenMode::kReadWrite, nullptr) != nullptr);
  EXPECT_TRUE(game.fs().Open(game.game() + ImgTestGame::kDir,
                             OpenMode::kReadWrite, nullptr) != nullptr);
  EXPECT_FALSE(game.ModelsHold("gta3.dir.new"));
  EXPECT_FALSE(game.ModelsHold("gta3.img.new"));
}

TEST(ImgRebuildTest, WorkedExampleByteForByte) {
  ImgTestGame game;
  const std::string c_field = std::string("c.dff\0old-name.dff", 18);
  game.WriteFiles(
      ImgRecordBytes(0, 5, "a.dff") +
          ImgRecordBytes(5, 2, DeletedNameField(std::string("b.dff\0xyz", 9))) +
          ImgRecordBytes(7, 3, c_field),
      ImgEntryData(1, 5) + ImgEntryData(2, 2) + ImgEntryData(3, 3));
  ASSERT_TRUE(game.Open());
  const std::string d = QueuedFileData(4, 5000);
  game.Queue("d.dff", d);

  EXPECT_EQ(CommandResult::kContinue, game.Rebuild());
  EXPECT_EQ(SuccessLog(game, "d.dff ... ok\r\n", " 1"), game.log());
  EXPECT_EQ(ImgRecordBytes(0, 5, "a.dff") + ImgRecordBytes(5, 3, c_field) +
                ImgRecordBytes(8, 3, "d.dff"),
            game.DirOnDisk());
  const std::string img = game.ImgOnDisk();
  EXPECT_EQ(22528u, img.size());
  EXPECT_TRUE(img ==
              ImgEntryData(1, 5) + ImgEntryData(3, 3) + PaddedToSector(d));
  ASSERT_EQ(3u, game.ctx().Img.Entries.size());
  EXPECT_EQ("d.dff", game.ctx().Img.Entries[2].Name());
  ExpectClosedAndTidy(game);
}

TEST(ImgRebuildTest, NothingChangedOrOnlyTheLastEntryDeleted) {
  // Nothing deleted, nothing queued: the directory is written back as it
  // was, the gap before the last entry stays, the junk after it goes.
  const std::string dir =
      ImgRecordBytes(0, 2, std::string("a.dff\0\x7f\x01", 8)) +
      ImgRecordBytes(2, 1, "b.txd") + ImgRecordBytes(6, 2, "c.dff");
  const std::string kept = ImgEntryData(1, 2) + ImgEntryData(2, 1) +
                           ImgEntryData(9, 3) + ImgEntryData(3, 2);
  {
    ImgTestGame game;
    game.WriteFiles(dir, kept + ImgEntryData(8, 2));
    ASSERT_TRUE(game.Open());
    EXPECT_EQ(CommandResult::kContinue, game.Rebuild("IMG REBUILD"));
    EXPECT_EQ(SuccessLog(game, "", " 0"), game.log());
    EXPECT_EQ(dir, game.DirOnDisk());
    EXPECT_TRUE(kept == game.ImgOnDisk());
    ExpectClosedAndTidy(game);
  }
  // The last entry deleted: nothing moves, the record goes, the archive is
  // cut where the entry before it ends.
  {
    ImgTestGame game;
    game.WriteFiles(
        ImgRecordBytes(0, 2, "a.dff") + ImgRecordBytes(2, 1, "b.txd") +
            ImgRecordBytes(3, 4, DeletedNameField("c.dff")),
        ImgEntryData(1, 2) + ImgEntryData(2, 1) + ImgEntryData(3, 4));
    ASSERT_TRUE(game.Open());
    EXPECT_EQ(CommandResult::kContinue, game.Rebuild());
    EXPECT_EQ(SuccessLog(game, "", " 1"), game.log());
    EXPECT_EQ(ImgRecordBytes(0, 2, "a.dff") + ImgRecordBytes(2, 1, "b.txd"),
              game.DirOnDisk());
    EXPECT_TRUE(ImgEntryData(1, 2) + ImgEntryData(2, 1) == game.ImgOnDisk());
  }
}

TEST(ImgRebuildTest, QueuedFilesTakeWholeSectorsPaddedWithZerosTexturesLast) {
  ImgTestGame game;
  // Old bytes lie where the queued files go: none may survive in the
  // padding of a last sector.
  game.WriteFiles(ImgRecordBytes(0, 1, "a.dff") +
                      ImgRecordBytes(1, 6, DeletedNameField("old.dff")),
                  ImgEntryData(1, 1) + ImgEntryData(2, 6));
  ASSERT_TRUE(game.Open());
  const std::string tex = QueuedFileData(5, 100);
  const std::string two = QueuedFileData(6, 4096);
  const std::string three = QueuedFileData(7, 4097);
  game.Queue("first.TXD", tex);
  game.Queue("two.dff", two);
  game.Queue("three.col", three);

  EXPECT_EQ(CommandResult::kContinue, game.Rebuild());
  EXPECT_EQ(SuccessLog(game,
                       "two.dff ... ok\r\nthree.col ... ok\r\n"
                       "first.TXD ... ok\r\n",
                       " 1"),
            game.log());
  EXPECT_EQ(ImgRecordBytes(0, 1, "a.dff") + ImgRecordBytes(1, 2, "two.dff") +
                ImgRecordBytes(3, 3, "three.col") +
                ImgRecordBytes(6, 1, "first.TXD"),
            game.DirOnDisk());
  EXPECT_TRUE(ImgEntryData(1, 1) + two + PaddedToSector(three) +
                  PaddedToSector(tex) ==
              game.ImgOnDisk());
}

TEST(ImgRebuildTest, ReplacedEntryReappearsAtTheEndUnderTheQueuedSpelling) {
  ImgTestGame game;
  // As adding car.dff leaves it: the old CAR.DFF marked deleted.
  game.WriteFiles(ImgRecordBytes(0, 2, "A.DFF") +
                      ImgRecordBytes(2, 3, DeletedNameField("CAR.DFF")) +
                      ImgRecordBytes(5, 1, "B.TXD"),
                  ImgEntryData(1, 2) + ImgEntryData(2, 3) + ImgEntryData(3, 1));
  ASSERT_TRUE(game.Open());
  const std::string car = QueuedFileData(8, 3000);
  game.Queue("car.dff", car);

  EXPECT_EQ(CommandResult::kContinue, game.Rebuild());
  EXPECT_EQ(ImgRecordBytes(0, 2, "A.DFF") + ImgRecordBytes(2, 1, "B.TXD") +
                ImgRecordBytes(3, 2, "car.dff"),
            game.DirOnDisk());
  EXPECT_TRUE(ImgEntryData(1, 2) + ImgEntryData(3, 1) + PaddedToSector(car) ==
              game.ImgOnDisk());
}

TEST(ImgRebuildTest, EntriesLargerThanTheCopyBufferMoveIntact) {
  ImgTestGame game;
  // A 5 MiB entry moves down by one sector, overlapping its old place; a
  // 5 MiB file is appended behind it. Both take more than one buffer load.
  const int big_sectors = 2600;
  game.WriteFiles(ImgRecordBytes(0, 1, DeletedNameField("gone")) +
                      ImgRecordBytes(1, big_sectors, "big.dff"),
                  ImgEntryData(1, 1) + ImgEntryData(2, big_sectors));
  ASSERT_TRUE(game.Open());
  const std::string added = QueuedFileData(3, 5 * 1024 * 1024 + 1);
  game.Queue("added.dff", added);

  EXPECT_EQ(CommandResult::kContinue, game.Rebuild());
  EXPECT_EQ(ImgRecordBytes(0, big_sectors, "big.dff") +
                ImgRecordBytes(big_sectors, 2561, "added.dff"),
            game.DirOnDisk());
  EXPECT_TRUE(ImgEntryData(2, big_sectors) + PaddedToSector(added) ==
              game.ImgOnDisk());
}

// A bad queued file is found before a byte moves: the log names it as the
// filling-in would, and both game files stay exactly as they were.
TEST(ImgRebuildTest, BadQueuedFileChangesNothing) {
  const std::string dir = ImgRecordBytes(0, 1, DeletedNameField("a.dff")) +
                          ImgRecordBytes(1, 2, "b.dff") +
                          ImgRecordBytes(3, 1, "c.dff");
  const std::string img = ImgEntryData(1, 1) + ImgEntryData(2, 2) +
                          ImgEntryData(3, 1) + ImgEntryData(4, 1);
  enum Fault { kEmpty, kMissing, kHeldOpen };
  for (Fault fault : {kEmpty, kMissing, kHeldOpen}) {
    SCOPED_TRACE(fault);
    ImgTestGame game;
    game.WriteFiles(dir, img);
    ASSERT_TRUE(game.Open());
    game.Queue("good.dff", "x");
    game.Queue("bad.dff", fault == kEmpty ? "" : "y");
    std::unique_ptr<File> holder;
    if (fault == kMissing) {
      ASSERT_TRUE(game.fs().RemoveFile(game.mod() + "bad.dff"));
    }
    if (fault == kHeldOpen) {
      holder = game.fs().Open(game.mod() + "bad.dff", OpenMode::kRead, nullptr);
      ASSERT_TRUE(holder != nullptr);
    }

    EXPECT_EQ(CommandResult::kEndRun, game.Rebuild());
    const std::string outcome =
        fault == kEmpty ? "null file"
                        : "Can't access file: " + game.mod() + "bad.dff";
    EXPECT_EQ("Rebuilding IMG...\r\nbad.dff ... " + outcome + "\r\n",
              game.log());
    game.ctx().Img.CloseFiles();
    EXPECT_EQ(dir, game.DirOnDisk());
    EXPECT_TRUE(img == game.ImgOnDisk());
    EXPECT_FALSE(game.ModelsHold("gta3.dir.new"));
  }
}

TEST(ImgRebuildTest, TheDirectoryGoesBackToTheGameTheArchiveCameFrom) {
  // A later script may name no game folder, or another one; the directory
  // of the held archive still belongs beside it.
  for (const std::string other : {"", "elsewhere\\"}) {
    ImgTestGame game;
    const std::string dir =
        ImgRecordBytes(0, 1, DeletedNameField("a")) + ImgRecordBytes(1, 1, "b");
    game.WriteFiles(dir, ImgEntryData(1, 2));
    ASSERT_TRUE(game.Open());
    game.ctx().GamePath = other.empty() ? "" : game.mod() + other;
    EXPECT_EQ(CommandResult::kContinue, game.Rebuild());
    EXPECT_EQ(ImgRecordBytes(0, 1, "b"), game.DirOnDisk());
    EXPECT_NE(std::string::npos,
              game.log().find("- recreating: " + game.game() +
                              "models\\gta3.dir\r\n"));
  }
}

TEST(ImgRebuildTest, RefusedRebuildsChangeNothing) {
  // Data that has to move lies beyond the archive's end.
  {
    ImgTestGame game;
    const std::string dir = ImgRecordBytes(0, 1, DeletedNameField("a")) +
                            ImgRecordBytes(1, 4, "cut.dff");
    game.WriteFiles(dir, ImgEntryData(1, 3));
    ASSERT_TRUE(game.Open());
    EXPECT_EQ(CommandResult::kEndRun, game.Rebuild());
    EXPECT_EQ(
        "Rebuilding IMG...\r\nCan't read cut.dff from " + game.game() +
            "models\\gta3.img: its data lies beyond the end of the file\r\n",
        game.log());
    game.ctx().Img.CloseFiles();
    EXPECT_EQ(dir, game.DirOnDisk());
    EXPECT_TRUE(ImgEntryData(1, 3) == game.ImgOnDisk());
  }
  // An archive that would reach 2 GiB (a sparse one here).
  ImgTestGame game;
  const int32_t sectors = 1048574;
  const std::string dir = ImgRecordBytes(0, sectors, "huge.dff");
  game.WriteFiles(dir, "");
  ResizeTestFile(game.game() + ImgTestGame::kImg, int64_t{sectors} * 2048);
  ASSERT_TRUE(game.Open());
  game.Queue("one.dff", std::string(2048, 'x'));
  game.Queue("two.dff", "y");

  EXPECT_EQ(CommandResult::kEndRun, game.Rebuild());
  EXPECT_EQ("Rebuilding IMG...\r\nCan't rebuild " + game.game() +
                "models\\gta3.img: it would reach 2 GB\r\n",
            game.log());
  game.ctx().Img.CloseFiles();
  EXPECT_EQ(dir, game.DirOnDisk());
  EXPECT_EQ(int64_t{sectors} * 2048,
            TestFileLength(game.game() + ImgTestGame::kImg));
}

TEST(ImgRebuildTest, RefusesWhatWouldLockThePlayerOutOrDestroyAFile) {
  // A directory the archive commands could not open again.
  {
    ImgTestGame game;
    std::string dir;
    for (int i = 0; i < 30001; ++i) {
      dir += ImgRecordBytes(i, 1, "e" + std::to_string(i) + ".dff");
    }
    game.WriteFiles(dir, "");
    ResizeTestFile(game.game() + ImgTestGame::kImg, int64_t{30001} * 2048);
    ASSERT_TRUE(game.Open());
    game.Queue("one.dff", "x");
    EXPECT_EQ(CommandResult::kEndRun, game.Rebuild());
    EXPECT_EQ("Rebuilding IMG...\r\nCan't rebuild " + game.game() +
                  "models\\gta3.img: the directory would hold  30002 entries "
                  "(at most 30001)\r\n",
              game.log());
    game.ctx().Img.CloseFiles();
    EXPECT_EQ(dir, game.DirOnDisk());
  }
  // Someone's file where the rebuild would write its new directory.
  ImgTestGame game;
  const std::string dir = ImgRecordBytes(0, 1, DeletedNameField("a")) +
                          ImgRecordBytes(1, 1, "b.dff");
  game.WriteFiles(dir, ImgEntryData(1, 2));
  const std::string notes = game.game() + "models\\gta3.dir.new";
  WriteTestFile(notes, "my notes");
  ASSERT_TRUE(game.Open());
  EXPECT_EQ(CommandResult::kEndRun, game.Rebuild());
  EXPECT_EQ(
      "Rebuilding IMG...\r\nCan't rebuild: " + notes + " already exists\r\n",
      game.log());
  game.ctx().Img.CloseFiles();
  EXPECT_EQ(dir, game.DirOnDisk());
  EXPECT_TRUE(ImgEntryData(1, 2) == game.ImgOnDisk());
  EXPECT_EQ("my notes", ReadTestFile(notes));
}

TEST(ImgRebuildTest, ThroughTheScript) {
  // Without an open archive.
  {
    ScriptRun run;
    run.WriteScript("IMG CLOSE\nPRINT never");
    const std::string game = run.game();
    EXPECT_EQ(
        SelectedGameLine(game) + "ERROR: IMG not open\r\n" + FailedBanner(),
        run.Run());
  }
  // Open, delete, replace and add through the script; the lower-case
  // keyword reaches the rebuild, and a second close finds nothing open.
  {
    ScriptRun run;
    const std::string game = run.game();
    WriteTestFile(
        game + "models\\gta3.dir",
        ImgRecordBytes(0, 2, "a.dff") + ImgRecordBytes(2, 1, "CAR.DFF") +
            ImgRecordBytes(3, 2, "b.dff") + ImgRecordBytes(5, 1, "c.dff"));
    WriteTestFile(game + "models\\gta3.img",
                  ImgEntryData(1, 2) + ImgEntryData(2, 1) + ImgEntryData(3, 2) +
                      ImgEntryData(4, 1));
    const std::string car = QueuedFileData(5, 2100);
    const std::string tex = QueuedFileData(6, 10);
    WriteTestFile(run.installer() + "car.dff", car);
    WriteTestFile(run.installer() + "new.txd", tex);
    run.WriteScript(
        "IMG OPENDEF\nIMG ADD new.txd\nIMG DELETE b.dff\nIMG ADD car.dff\n"
        "img close\nIMG REBUILD");
    EXPECT_EQ(
        SelectedGameLine(game) +
            "Reading IMG...\r\nIndexes:  4\r\n"
            "Checking object new.txd... not found, object will be added\r\n"
            "Deleting object b.dff ... ok\r\n"
            "Checking object car.dff... found, object will be replaced\r\n"
            "Rebuilding IMG...\r\nFilling in objects...\r\n"
            "car.dff ... ok\r\nnew.txd ... ok\r\n"
            "- objects deleted (or replaced):  2\r\n- recreating: " +
            game +
            "models\\gta3.dir\r\nRebuilding done\r\n"
            "ERROR: IMG not open\r\n" +
            FailedBanner(),
        run.Run());
    EXPECT_EQ(ImgRecordBytes(0, 2, "a.dff") + ImgRecordBytes(2, 1, "c.dff") +
                  ImgRecordBytes(3, 2, "car.dff") +
                  ImgRecordBytes(5, 1, "new.txd"),
              ReadTestFile(game + "models\\gta3.dir"));
    EXPECT_TRUE(ImgEntryData(1, 2) + ImgEntryData(4, 1) + PaddedToSector(car) +
                    PaddedToSector(tex) ==
                ReadTestFile(game + "models\\gta3.img"));
  }
}

}  // namespace
}  // namespace quarn
