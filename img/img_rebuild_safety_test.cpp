// The rebuild against archives it must not damage and disks that fail it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gtest/gtest.h"
#include "img/img_rebuild.h"
#include "platform/faulty_file_system.h"
#include "testutil/change_recorder.h"
#include "testutil/img_test_game.h"

namespace quarn {
namespace {

// One entry as a reader that knows only the file format sees it.
struct ReadBackEntry {
  uint32_t offset = 0;
  uint32_t size = 0;
  std::string name;
  std::string data;
};

uint32_t LittleEndian32(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) {
    value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
  }
  return value;
}

// Reads a directory and its archive from the record layout alone: 32-byte
// records of a little-endian sector offset, a sector count and a 24-byte
// NUL-terminated name.
std::vector<ReadBackEntry> ReadArchive(const std::string& dir,
                                       const std::string& img) {
  std::vector<ReadBackEntry> entries;
  EXPECT_EQ(0u, dir.size() % 32);
  for (size_t at = 0; at + 32 <= dir.size(); at += 32) {
    ReadBackEntry entry;
    entry.offset = LittleEndian32(dir, at);
    entry.size = LittleEndian32(dir, at + 4);
    const std::string field = dir.substr(at + 8, 24);
    entry.name = field.substr(0, field.find('\0'));
    const uint64_t begin = uint64_t{entry.offset} * 2048;
    const uint64_t length = uint64_t{entry.size} * 2048;
    EXPECT_LE(begin + length, img.size()) << entry.name;
    if (begin + length <= img.size()) entry.data = img.substr(begin, length);
    entries.push_back(entry);
  }
  return entries;
}

// What an entry must read back as.
struct Expected {
  std::string name;
  std::string data;
};

// Every named entry reads back with its data in the expected order, nameless
// records hold nothing, and the data lies back to back up to the file's end.
void ExpectArchive(const std::vector<Expected>& expected,
                   const ImgTestGame& game) {
  const std::string img = game.ImgOnDisk();
  const std::vector<ReadBackEntry> entries = ReadArchive(game.DirOnDisk(), img);
  std::vector<Expected> named;
  uint64_t end = 0;
  for (const ReadBackEntry& entry : entries) {
    if (entry.name.empty()) {
      EXPECT_EQ(0u, entry.size);
      continue;
    }
    EXPECT_EQ(end, entry.offset) << entry.name;
    end = uint64_t{entry.offset} + entry.size;
    named.push_back({entry.name, entry.data});
  }
  EXPECT_EQ(end * 2048, img.size());
  ASSERT_EQ(expected.size(), named.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(expected[i].name, named[i].name);
    EXPECT_TRUE(expected[i].data == named[i].data) << expected[i].name;
  }
}

// A directory of 14 entries in which four are deleted (one of size 0), with
// names carrying old bytes after the NUL and one name given twice; entry 3's
// data was appended at the archive's end while its record stayed in place
// when `appended` is set. Queues three files, the texture first.
std::vector<Expected> SetUpMixedArchive(ImgTestGame& game, bool appended) {
  const int sizes[14] = {3, 3, 1, 4, 2, 0, 1, 6, 2, 1, 5, 0, 2, 3};
  const bool deleted[14] = {false, true, false, false, false, true,  false,
                            false, true, false, false, false, false, true};
  const int32_t archive_end = 33;  // the sum of the sizes
  std::string dir;
  std::string img;
  std::vector<Expected> expected;
  for (int i = 0; i < 14; ++i) {
    const std::string name = i == 9 || i == 12
                                 ? std::string("twice.dff")
                                 : "e" + std::to_string(i) + ".dff";
    std::string field = name + std::string(1, '\0') + "old" + std::to_string(i);
    if (deleted[i]) field = DeletedNameField(field);
    const std::string data = ImgEntryData(i + 1, sizes[i]);
    int32_t offset = static_cast<int32_t>(img.size() / 2048);
    // Stale bytes stay where the appended entry once lay.
    img += appended && i == 3 ? ImgEntryData(99, sizes[i]) : data;
    if (appended && i == 3) offset = archive_end;
    dir += ImgRecordBytes(offset, sizes[i], field);
    if (!deleted[i]) expected.push_back({name, data});
  }
  if (appended) img += ImgEntryData(4, sizes[3]);
  game.WriteFiles(dir, img);

  const std::string tex = QueuedFileData(50, 5000);
  const std::string first = QueuedFileData(51, 2048);
  const std::string second = QueuedFileData(52, 1);
  game.Queue("skin.txd", tex);
  game.Queue("new1.dff", first);
  game.Queue("new2.col", second);
  expected.push_back({"new1.dff", first});
  expected.push_back({"new2.col", PaddedToSector(second)});
  expected.push_back({"skin.txd", PaddedToSector(tex)});
  return expected;
}

TEST(ImgRebuildSafetyTest, ArchivesReadBackEntryForEntry) {
  for (bool appended : {false, true}) {
    SCOPED_TRACE(appended ? "data appended at the end" : "in order");
    ImgTestGame game;
    const std::vector<Expected> expected = SetUpMixedArchive(game, appended);
    ASSERT_TRUE(game.Open());
    ASSERT_EQ(CommandResult::kContinue, game.Rebuild());
    EXPECT_NE(std::string::npos,
              game.log().find("- objects deleted (or replaced):  3\r\n"));
    ExpectArchive(expected, game);
    EXPECT_FALSE(game.ModelsHold("gta3.img.new"));
    EXPECT_FALSE(game.ModelsHold("gta3.dir.new"));
  }
}

TEST(ImgRebuildSafetyTest, OutOfOrderArchivesKeepEveryEntrysBytes) {
  // b's data was appended at the end: a queued file at the end of the last
  // record (c) would land on it, and the cut would drop it.
  {
    ImgTestGame game;
    game.WriteFiles(ImgRecordBytes(0, 5, "a.dff") +
                        ImgRecordBytes(10, 2, "b.dff") +
                        ImgRecordBytes(7, 3, "c.dff"),
                    ImgEntryData(1, 5) + ImgEntryData(9, 2) +
                        ImgEntryData(3, 3) + ImgEntryData(2, 2));
    ASSERT_TRUE(game.Open());
    const std::string d = QueuedFileData(4, 3000);
    game.Queue("d.dff", d);
    ASSERT_EQ(CommandResult::kContinue, game.Rebuild());
    EXPECT_EQ(
        "Rebuilding IMG...\r\nFilling in objects...\r\nd.dff ... ok\r\n"
        "- objects deleted (or replaced):  0\r\n- recreating: " +
            game.game() + "models\\gta3.dir\r\nRebuilding done\r\n",
        game.log());
    EXPECT_EQ(ImgRecordBytes(0, 5, "a.dff") + ImgRecordBytes(5, 2, "b.dff") +
                  ImgRecordBytes(7, 3, "c.dff") +
                  ImgRecordBytes(10, 2, "d.dff"),
              game.DirOnDisk());
    EXPECT_TRUE(ImgEntryData(1, 5) + ImgEntryData(2, 2) + ImgEntryData(3, 3) +
                    PaddedToSector(d) ==
                game.ImgOnDisk());
  }
  // Moving y down in place would overwrite the start of z before z is read.
  {
    ImgTestGame game;
    game.WriteFiles(
        ImgRecordBytes(0, 2, DeletedNameField("x.dff")) +
            ImgRecordBytes(6, 4, "y.dff") + ImgRecordBytes(2, 4, "z.dff"),
        ImgEntryData(1, 2) + ImgEntryData(3, 4) + ImgEntryData(2, 4));
    ASSERT_TRUE(game.Open());
    ASSERT_EQ(CommandResult::kContinue, game.Rebuild());
    EXPECT_EQ(ImgRecordBytes(0, 4, "y.dff") + ImgRecordBytes(4, 4, "z.dff"),
              game.DirOnDisk());
    EXPECT_TRUE(ImgEntryData(2, 4) + ImgEntryData(3, 4) == game.ImgOnDisk());
  }
}

// A plan of the faults these tests use, in the order FaultPlan lists them.
FaultPlan Faults(int failing_write, bool writes_stay_failed, int failing_read,
                 bool fail_resize, bool fail_rename, bool fail_copy) {
  FaultPlan plan;
  plan.failing_write = failing_write;
  plan.writes_stay_failed = writes_stay_failed;
  plan.failing_read = failing_read;
  plan.fail_resize = fail_resize;
  plan.fail_rename = fail_rename;
  plan.fail_copy = fail_copy;
  return plan;
}

class FaultyRebuildTest : public ::testing::Test {
 protected:
  FaultyRebuildTest() : real_(MakeNativeFileSystem()), faulty_(*real_) {}

  // The worked example's archive (c moves, d is added) or, with `unsafe`,
  // one whose layout forces a new archive beside the old one.
  void Prepare(ImgTestGame& game, bool unsafe) {
    dir_ = unsafe
               ? ImgRecordBytes(0, 5, "a.dff") + ImgRecordBytes(8, 2, "b.dff") +
                     ImgRecordBytes(5, 3, "c.dff")
               : ImgRecordBytes(0, 5, "a.dff") +
                     ImgRecordBytes(5, 2, DeletedNameField("b.dff")) +
                     ImgRecordBytes(7, 3, "c.dff");
    img_ = ImgEntryData(1, 5) + ImgEntryData(2, 2) + ImgEntryData(3, 3);
    game.WriteFiles(dir_, img_);
    ASSERT_TRUE(game.Open());
    game.Queue("d.dff", QueuedFileData(4, 5000));
  }

  void ExpectGameFilesUnchanged(ImgTestGame& game, bool archive_too) {
    game.ctx().Img.CloseFiles();
    EXPECT_EQ(dir_, game.DirOnDisk());
    if (archive_too) {
      EXPECT_TRUE(img_ == game.ImgOnDisk());
    }
    EXPECT_FALSE(game.ModelsHold("gta3.img.new"));
  }

  std::unique_ptr<FileSystem> real_;
  FaultyFileSystem faulty_;
  std::string dir_;
  std::string img_;
};

TEST_F(FaultyRebuildTest, FailuresBeforeTheArchiveChangesLeaveEverything) {
  {
    // The first write is the new directory's.
    ImgTestGame game(&faulty_);
    Prepare(game, false);
    faulty_.Plan(Faults(1, false, 0, false, false, false));
    EXPECT_EQ(CommandResult::kEndRun, game.Rebuild());
    EXPECT_EQ("Rebuilding IMG...\r\nCan't write " + game.game() +
                  "models\\gta3.dir.new\r\n",
              game.log());
    ExpectGameFilesUnchanged(game, true);
    EXPECT_FALSE(game.ModelsHold("gta3.dir.new"));
  }
  {
    // The first flush is the new directory's.
    ImgTestGame game(&faulty_);
    Prepare(game, false);
    FaultPlan flush_fails;
    flush_fails.fail_flush = true;
    faulty_.Plan(flush_fails);
    EXPECT_EQ(CommandResult::kEndRun, game.Rebuild());
    EXPECT_EQ("Rebuilding IMG...\r\nCan't write " + game.game() +
                  "models\\gta3.dir.new\r\n",
              game.log());
    ExpectGameFilesUnchanged(game, true);
    EXPECT_FALSE(game.ModelsHold("gta3.dir.new"));
  }
  {
    // The first read is c's, before anything in the archive was written.
    ImgTestGame game(&faulty_);
    Prepare(game, false);
    faulty_.Plan(Faults(0, false, 1, false, false, false));
    EXPECT_EQ(CommandResult::kEndRun, game.Rebuild());
    EXPECT_EQ("Rebuilding IMG...\r\nCan't read " + game.game() +
                  "models\\gta3.img\r\n",
              game.log());
    ExpectGameFilesUnchanged(game, true);
    EXPECT_FALSE(game.ModelsHold("gta3.dir.new"));
  }
}

TEST_F(FaultyRebuildTest, AFailedMoveLeavesTheDirectoryAndSaysSo) {
  ImgTestGame game(&faulty_);
  Prepare(game, false);
  // The second write is c's move inside the archive.
  faulty_.Plan(Faults(2, false, 0, false, false, false));
  EXPECT_EQ(CommandResult::kEndRun, game.Rebuild());
  const std::string models = game.game() + "models\\";
  EXPECT_EQ("Rebuilding IMG...\r\nCan't write " + models +
                "gta3.img\r\nWARNING: " + models +
                "gta3.img was changed part-way and no longer matches " +
                models + "gta3.dir; restore both from the backup\r\n",
            game.log());
  EXPECT_TRUE(game.ctx().Img.IsOpen);
  ExpectGameFilesUnchanged(game, false);
  EXPECT_FALSE(game.ModelsHold("gta3.dir.new"));
}

TEST_F(FaultyRebuildTest, AfterTheMovesTheDirectoryFollowsTheKeptEntries) {
  struct Case {
    FaultPlan plan;
    std::string outcome;
  };
  for (int n = 0; n < 2; ++n) {
    SCOPED_TRACE(n);
    ImgTestGame game(&faulty_);
    Prepare(game, false);
    const std::string models = game.game() + "models\\";
    const Case cases[2] = {
        // The third write is d's: the kept entries have all moved.
        {Faults(3, false, 0, false, false, false),
         "d.dff ... Can't write " + models + "gta3.img\r\n"},
        // Only the final cut fails.
        {Faults(0, false, 0, true, false, false),
         "d.dff ... ok\r\nCan't write " + models + "gta3.img\r\n"},
    };
    faulty_.Plan(cases[n].plan);
    EXPECT_EQ(CommandResult::kEndRun, game.Rebuild());
    EXPECT_EQ(
        "Rebuilding IMG...\r\nFilling in objects...\r\n" + cases[n].outcome +
            "- recreating without the new objects: " + models + "gta3.dir\r\n",
        game.log());
    game.ctx().Img.CloseFiles();
    // The directory and the archive agree again: c lies where its record
    // says, and nothing refers to d.
    EXPECT_EQ(ImgRecordBytes(0, 5, "a.dff") + ImgRecordBytes(5, 3, "c.dff"),
              game.DirOnDisk());
    EXPECT_TRUE(ImgEntryData(1, 5) + ImgEntryData(3, 3) ==
                game.ImgOnDisk().substr(0, 8 * 2048));
    EXPECT_FALSE(game.ModelsHold("gta3.dir.new"));
  }
}

TEST_F(FaultyRebuildTest, AFullDiskAfterTheMovesIsReported) {
  ImgTestGame game(&faulty_);
  Prepare(game, false);
  // Every write from d's on fails, the directory's too.
  faulty_.Plan(Faults(3, true, 0, false, false, false));
  EXPECT_EQ(CommandResult::kEndRun, game.Rebuild());
  const std::string models = game.game() + "models\\";
  EXPECT_EQ(
      "Rebuilding IMG...\r\nFilling in objects...\r\nd.dff ... "
      "Can't write " +
          models + "gta3.img\r\n- recreating without the new objects: " +
          models + "gta3.dir\r\nCan't write " + models +
          "gta3.dir.new\r\nWARNING: " + models +
          "gta3.img was changed part-way and no longer matches " + models +
          "gta3.dir; restore both from the backup\r\n",
      game.log());
  ExpectGameFilesUnchanged(game, false);
  EXPECT_FALSE(game.ModelsHold("gta3.dir.new"));
}

TEST_F(FaultyRebuildTest, ANewArchiveThatFailsLeavesTheOldOneWhole) {
  for (int n = 0; n < 3; ++n) {
    SCOPED_TRACE(n);
    ImgTestGame game(&faulty_);
    Prepare(game, true);
    const std::string models = game.game() + "models\\";
    const std::string filled = "Filling in objects...\r\nd.dff ... ok\r\n";
    const FaultPlan plans[3] = {Faults(3, true, 0, false, false, false),
                                Faults(0, false, 0, true, false, false),
                                Faults(0, false, 0, false, true, false)};
    const std::string tails[3] = {
        "Can't write " + models + "gta3.img.new\r\n",
        filled + "Can't write " + models + "gta3.img.new\r\n",
        filled + "- objects deleted (or replaced):  0\r\n- recreating: " +
            models + "gta3.dir\r\nCan't access " + models + "gta3.img\r\n"};
    faulty_.Plan(plans[n]);
    EXPECT_EQ(CommandResult::kEndRun, game.Rebuild());
    EXPECT_EQ("Rebuilding IMG...\r\n" + tails[n], game.log());
    ExpectGameFilesUnchanged(game, true);
    EXPECT_FALSE(game.ModelsHold("gta3.dir.new"));
  }
}

// The archive is rewritten by then: the old directory no longer describes
// it, and the player must hear so.
TEST_F(FaultyRebuildTest, ADirectoryThatCannotReplaceTheOldOneStaysBesideIt) {
  ImgTestGame game(&faulty_);
  Prepare(game, false);
  faulty_.Plan(Faults(0, false, 0, false, true, false));
  EXPECT_EQ(CommandResult::kEndRun, game.Rebuild());
  const std::string dir = game.game() + "models\\gta3.dir";
  const std::string img = game.game() + "models\\gta3.img";
  EXPECT_EQ(
      "Rebuilding IMG...\r\nFilling in objects...\r\nd.dff ... ok\r\n"
      "- objects deleted (or replaced):  1\r\n- recreating: " +
          dir + "\r\nCan't access " + dir + "\r\nWARNING: " + img +
          " was changed part-way and no longer matches " + dir +
          "; restore both from the backup\r\n",
      game.log());
  EXPECT_EQ(dir_, game.DirOnDisk());
  EXPECT_EQ(ImgRecordBytes(0, 5, "a.dff") + ImgRecordBytes(5, 3, "c.dff") +
                ImgRecordBytes(8, 3, "d.dff"),
            ReadTestFile(dir + ".new"));
}

// Whatever a directory describes is on the disk before it replaces the old
// one: the new directory itself, and the archive, rewritten in place or
// beside the old one.
TEST(ImgRebuildSafetyTest, EveryFileIsFlushedBeforeTheDirectoryReplacesTheOld) {
  for (const bool unsafe : {false, true}) {
    SCOPED_TRACE(unsafe);
    std::unique_ptr<FileSystem> real = MakeNativeFileSystem();
    ChangeRecorder recorder(*real, "");
    ImgTestGame game(&recorder);
    // As FaultyRebuildTest prepares it: b is deleted, or the layout is not
    // safe for moves in place.
    game.WriteFiles(
        ImgRecordBytes(0, 5, "a.dff") +
            (unsafe
                 ? ImgRecordBytes(8, 2, "b.dff") + ImgRecordBytes(5, 3, "c.dff")
                 : ImgRecordBytes(5, 2, DeletedNameField("b.dff")) +
                       ImgRecordBytes(7, 3, "c.dff")),
        ImgEntryData(1, 5) + ImgEntryData(2, 2) + ImgEntryData(3, 3));
    ASSERT_TRUE(game.Open());
    game.Queue("d.dff", QueuedFileData(4, 5000));
    recorder.Forget();
    ASSERT_EQ(CommandResult::kContinue, game.Rebuild());

    const std::string models = game.game() + "models\\";
    const std::string archive = models + (unsafe ? "gta3.img.new" : "gta3.img");
    std::vector<std::string> expected = {
        "write " + models + "gta3.dir.new", "flush " + models + "gta3.dir.new",
        "write " + archive, "resize " + archive, "flush " + archive};
    if (unsafe) {
      expected.push_back("rename " + archive + " " + models + "gta3.img");
    }
    expected.push_back("rename " + models + "gta3.dir.new " + models +
                       "gta3.dir");
    EXPECT_EQ(expected, recorder.changes());
  }
}

}  // namespace
}  // namespace quarn
