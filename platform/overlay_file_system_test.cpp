#include "platform/overlay_file_system.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/file_contents.h"
#include "platform/scratch_file.h"
#include "testutil/test_files.h"
#include "testutil/tree_snapshot.h"

namespace quarn {
namespace {

std::string Pattern(size_t length, int seed) {
  std::string bytes(length, '\0');
  for (size_t i = 0; i < length; ++i) {
    bytes[i] = static_cast<char>((i * 31 + seed * 7 + i / 251) & 0xff);
  }
  return bytes;
}

// A game folder on disk, seen through an overlay; the disk is never to
// change, which every test checks at its end.
class OverlayTest : public ::testing::Test {
 protected:
  OverlayTest() {
    WriteTestFile(game() + "data\\gta_vc.dat", "IDE DATA\\DEFAULT.IDE\r\n");
    WriteTestFile(game() + "models\\gta3.dir", "old directory");
    WriteTestFile(game() + "models\\gta3.img", Pattern(10000, 1));
    WriteTestFile(game() + "readme.txt", "read me");
    MakeTestFolder(game() + "empty");
    before_ = TreeSnapshot(folder_.path());
  }

  void TearDown() override {
    own_overlay_.reset();
    native_->ChangeFolder(start_folder_);
    EXPECT_EQ(before_, TreeSnapshot(folder_.path()));
  }

  std::string game() const { return folder_.path() + "game\\"; }

  std::string Read(const std::string& relative) {
    std::string bytes;
    if (!ReadWholeFile(overlay_, game() + relative, &bytes)) return "<none>";
    return bytes;
  }

  void Write(const std::string& relative, uint64_t offset,
             const std::string& bytes) {
    std::unique_ptr<File> file =
        overlay_.Open(game() + relative, OpenMode::kReadWrite, nullptr);
    ASSERT_TRUE(file) << relative;
    ASSERT_TRUE(file->WriteAt(offset, bytes.data(), bytes.size()));
  }

  std::string Listing(const std::string& relative) {
    std::vector<FolderEntry> entries;
    if (overlay_.ListFolder(game() + relative, &entries) != FsStatus::kOkay) {
      return "<cannot list>";
    }
    std::string text;
    for (const FolderEntry& entry : entries) {
      if (entry.name == "." || entry.name == "..") continue;
      const uint32_t shown = entry.attributes & ~(kAttrArchive | kAttrNormal);
      text +=
          entry.name + (shown != 0 ? "=" + std::to_string(shown) : "") + " ";
    }
    return text;
  }

  // The overlay's changes, one line each, paths relative to the game.
  std::string Changes() {
    std::string text;
    for (const OverlayChange& change : overlay_.Changes()) {
      static const char* const kWhat[] = {"create", "change", "delete",
                                          "folder", "folder-change"};
      text += kWhat[static_cast<int>(change.what)];
      text += " " + change.path.substr(game().size()) + " " +
              std::to_string(change.size_before) + "->" +
              std::to_string(change.size_after);
      if (change.attributes_before != change.attributes_after) {
        text += " attributes " + std::to_string(change.attributes_before) +
                "->" + std::to_string(change.attributes_after);
      }
      text += change.bytes_changed ? " bytes\n" : "\n";
    }
    return text;
  }

  TempFolder folder_;
  std::unique_ptr<FileSystem> native_ = MakeNativeFileSystem();
  std::string start_folder_ = native_->CurrentFolder();
  // Gone before the disk is checked: on Windows it holds base files open.
  std::unique_ptr<OverlayFileSystem> own_overlay_ =
      std::make_unique<OverlayFileSystem>(*native_);
  OverlayFileSystem& overlay_ = *own_overlay_;
  std::string before_;
};

TEST_F(OverlayTest, ReadsSeeTheRunsOwnWrites) {
  Write("models\\gta3.img", 100, "patched");
  Write("models\\gta3.img", 10000, "grown");
  std::string expected = Pattern(10000, 1);
  expected.replace(100, 7, "patched");
  expected += "grown";
  EXPECT_EQ(expected, Read("MODELS\\GTA3.IMG"));

  // Cut, then grown again: the cut-off bytes come back as zeros, from the
  // base file as from the written ones.
  std::unique_ptr<File> img =
      overlay_.Open(game() + "models\\gta3.img", OpenMode::kReadWrite, nullptr);
  ASSERT_TRUE(img);
  ASSERT_TRUE(img->Resize(50));
  ASSERT_TRUE(img->Resize(120));
  img.reset();
  expected = Pattern(10000, 1).substr(0, 50) + std::string(70, '\0');
  EXPECT_EQ(expected, Read("models\\gta3.img"));

  // Created and emptied files, a relative path through "..", a copy that
  // goes its own way after the copy.
  ASSERT_TRUE(WriteWholeFile(overlay_, game() + "data\\new.ide", "objs\r\n"));
  ASSERT_TRUE(WriteWholeFile(overlay_, game() + "readme.txt", ""));
  ASSERT_TRUE(overlay_.ChangeFolder(game() + "empty"));
  EXPECT_EQ("objs\r\n", Read("empty\\..\\DATA\\New.ide"));
  std::string relative;
  ASSERT_TRUE(ReadWholeFile(overlay_, "..\\data\\new.ide", &relative));
  EXPECT_EQ("objs\r\n", relative);
  ASSERT_TRUE(
      overlay_.CopyOver(game() + "data\\gta_vc.dat", game() + "data\\c.dat"));
  Write("data\\c.dat", 0, "ipl");
  EXPECT_EQ("ipl DATA\\DEFAULT.IDE\r\n", Read("data\\c.dat"));
  EXPECT_EQ("IDE DATA\\DEFAULT.IDE\r\n", Read("data\\gta_vc.dat"));
  EXPECT_EQ("", Read("readme.txt"));
  EXPECT_EQ("c.dat gta_vc.dat new.ide ", Listing("data"));
}

TEST_F(OverlayTest, RenamesOverExistingFilesKeepTheirNames) {
  ASSERT_TRUE(WriteWholeFile(overlay_, game() + "models\\GTA3.DIR.new",
                             "new directory"));
  ASSERT_TRUE(overlay_.RenameOver(game() + "models\\GTA3.DIR.new",
                                  game() + "MODELS\\GTA3.DIR"));
  EXPECT_EQ("new directory", Read("models\\gta3.dir"));
  EXPECT_EQ(kNoSuchFile,
            overlay_.AttributesOf(game() + "models\\gta3.dir.new"));
  // The replaced file keeps the name it has on disk, as Linux and Wine keep it.
  EXPECT_EQ("gta3.dir gta3.img ", Listing("models"));

  // A base file renamed shows its bytes under the new name, and the bytes
  // written over it replace only their part.
  ASSERT_TRUE(overlay_.RenameOver(game() + "models\\gta3.img",
                                  game() + "models\\Moved.img"));
  Write("models\\moved.img", 9998, "end!");
  std::string expected = Pattern(10000, 1).substr(0, 9998) + "end!";
  EXPECT_EQ(expected, Read("models\\moved.img"));
  EXPECT_EQ("<none>", Read("models\\gta3.img"));
  EXPECT_EQ("gta3.dir Moved.img ", Listing("models"));

  // Held, read-only and folder targets are refused, as on Windows.
  std::unique_ptr<File> held =
      overlay_.Open(game() + "models\\gta3.dir", OpenMode::kRead, nullptr);
  EXPECT_FALSE(overlay_.RenameOver(game() + "models\\moved.img",
                                   game() + "models\\gta3.dir"));
  held.reset();
  ASSERT_TRUE(overlay_.SetAttributes(game() + "readme.txt", kAttrReadOnly));
  EXPECT_FALSE(
      overlay_.RenameOver(game() + "models\\moved.img", game() + "readme.txt"));
  EXPECT_FALSE(
      overlay_.RenameOver(game() + "models\\moved.img", game() + "empty"));
  EXPECT_FALSE(overlay_.RenameOver(game() + "empty", game() + "other"));
  EXPECT_EQ(expected, Read("models\\moved.img"));
  EXPECT_EQ(kAttrReadOnly,
            overlay_.AttributesOf(game() + "readme.txt") & ~kAttrArchive);
}

TEST_F(OverlayTest, DeletedFilesAreGoneUntilMadeAgain) {
  ASSERT_TRUE(overlay_.RemoveFile(game() + "README.TXT"));
  EXPECT_EQ(kNoSuchFile, overlay_.AttributesOf(game() + "readme.txt"));
  EXPECT_FALSE(overlay_.RemoveFile(game() + "readme.txt"));
  FsStatus status = FsStatus::kOkay;
  EXPECT_FALSE(overlay_.Open(game() + "readme.txt", OpenMode::kRead, &status));
  EXPECT_EQ(FsStatus::kNotFound, status);
  EXPECT_FALSE(overlay_.CopyOver(game() + "readme.txt", game() + "copy.txt"));
  EXPECT_EQ("data=16 empty=16 models=16 ", Listing(""));

  // Made again, it is a new file with the name as now spelled.
  ASSERT_TRUE(WriteWholeFile(overlay_, game() + "ReadMe.TXT", "again"));
  EXPECT_EQ("again", Read("readme.txt"));
  EXPECT_EQ("data=16 empty=16 models=16 ReadMe.TXT ", Listing(""));

  // Folders are not files; a file held open stays.
  EXPECT_FALSE(overlay_.RemoveFile(game() + "empty"));
  std::unique_ptr<File> held =
      overlay_.Open(game() + "data\\gta_vc.dat", OpenMode::kRead, nullptr);
  EXPECT_FALSE(overlay_.RemoveFile(game() + "data\\gta_vc.dat"));
  held.reset();
  EXPECT_TRUE(overlay_.RemoveFile(game() + "data\\gta_vc.dat"));
  EXPECT_EQ("", Listing("data"));
}

TEST_F(OverlayTest, ChangesAreWhatWouldDifferOnDisk) {
  Write("models\\gta3.img", 0, Pattern(10, 1));  // the same bytes again
  ASSERT_TRUE(WriteWholeFile(overlay_, game() + "models\\gta3.dir.new", "d"));
  ASSERT_TRUE(overlay_.RenameOver(game() + "models\\gta3.dir.new",
                                  game() + "models\\gta3.dir"));
  ASSERT_TRUE(WriteWholeFile(overlay_, game() + "temp.bin", "gone"));
  ASSERT_TRUE(overlay_.RemoveFile(game() + "temp.bin"));
  ASSERT_TRUE(overlay_.RemoveFile(game() + "readme.txt"));
  ASSERT_TRUE(overlay_.MakeFolder(game() + "data\\maps"));
  ASSERT_TRUE(WriteWholeFile(overlay_, game() + "data\\maps\\new.ipl", "inst"));
  ASSERT_TRUE(
      overlay_.SetAttributes(game() + "data\\gta_vc.dat", kAttrReadOnly));
  ASSERT_TRUE(overlay_.SetAttributes(game() + "empty", kAttrHidden));
  EXPECT_EQ(
      "change data\\gta_vc.dat 22->22 attributes 0->1\n"
      "folder data\\maps 0->0\n"
      "create data\\maps\\new.ipl 0->4 bytes\n"
      "folder-change empty 0->0 attributes 0->2\n"
      "change models\\gta3.dir 13->1 bytes\n"
      "delete readme.txt 7->0 bytes\n",
      Changes());
}

// Compares every read with a plain string that took the same writes, while
// a tiny memory bound sends most written bytes to the scratch file.
TEST_F(OverlayTest, SpilledBytesReadBackAsWritten) {
  TempFolder scratch_folder;
  int scratch_files = 0;
  OverlayFileSystem small(*native_, 4096, [&] {
    ++scratch_files;
    return MakeScratchFile(scratch_folder.path());
  });
  std::unique_ptr<File> file =
      small.Open(game() + "models\\gta3.img", OpenMode::kReadWrite, nullptr);
  ASSERT_TRUE(file);
  std::string model = Pattern(10000, 1);
  std::mt19937 random(12);
  for (int step = 0; step < 400; ++step) {
    const uint64_t offset = random() % 14000;
    if (step % 17 == 16) {
      ASSERT_TRUE(file->Resize(offset));
      model.resize(offset, '\0');
      continue;
    }
    // Runs of writes that follow each other, as copies and logs make them.
    const std::string bytes = Pattern(1 + random() % 700, step);
    const uint64_t at = step % 3 == 0 ? model.size() : offset;
    ASSERT_TRUE(file->WriteAt(at, bytes.data(), bytes.size()));
    if (model.size() < at + bytes.size()) model.resize(at + bytes.size());
    model.replace(at, bytes.size(), bytes);

    const uint64_t from = random() % (model.size() + 10);
    std::string read(random() % 3000, '\0');
    size_t got = 0;
    ASSERT_TRUE(file->ReadAt(from, &read[0], read.size(), &got));
    read.resize(got);
    ASSERT_EQ(from < model.size() ? model.substr(from, read.size()) : "", read)
        << "step " << step;
  }
  file.reset();
  EXPECT_EQ(model, [&] {
    std::string all;
    ReadWholeFile(small, game() + "models\\gta3.img", &all);
    return all;
  }());
  const OverlayStoreStats stats = small.StoreStats();
  EXPECT_LE(stats.peak_memory_bytes, 4096u);
  EXPECT_GT(stats.spilled_bytes, 50000u);
  EXPECT_FALSE(stats.spill_failed);
  EXPECT_EQ(1, scratch_files);
}

// A rebuild moves bytes inside the archive by File::MoveBytes: such moves
// carry no byte and cost no memory, whatever the source shows, except zeros
// that land over the disk's bytes. A plain write is stored, even of the
// bytes just read.
TEST_F(OverlayTest, MovedBytesAreKeptAsReferences) {
  OverlayFileSystem small(*native_, 4096, [] { return nullptr; });
  const std::string img = game() + "models\\gta3.img";
  std::unique_ptr<File> file = small.Open(img, OpenMode::kReadWrite, nullptr);
  ASSERT_TRUE(file);
  std::string model = Pattern(10000, 1);
  const auto move = [&](uint64_t from, uint64_t to, uint64_t length) {
    uint64_t written = 99;
    EXPECT_EQ(TransferOutcome::kDone,
              file->MoveBytes(from, to, length, &written));
    EXPECT_EQ(length, written);
    const std::string moved = model.substr(from, length);
    if (model.size() < to + length) model.resize(to + length);
    model.replace(to, length, moved);
  };
  move(5000, 0, 3000);
  move(8000, 3000, 2000);
  EXPECT_EQ(0u, small.StoreStats().peak_memory_bytes);
  EXPECT_TRUE(small.ShowsOriginal(img, 0, img, 5000, 3000));
  EXPECT_TRUE(small.ShowsOriginal(img, 3000, img, 8000, 2000));
  EXPECT_FALSE(small.ShowsOriginal(img, 0, img, 5001, 3000));
  uint64_t written = 99;
  EXPECT_EQ(TransferOutcome::kReadFailed,
            file->MoveBytes(9000, 0, 1001, &written));
  EXPECT_EQ(0u, written);

  std::string buffer(3000, '\0');
  size_t got = 0;
  ASSERT_TRUE(file->ReadAt(6000, &buffer[0], buffer.size(), &got));
  ASSERT_TRUE(file->WriteAt(1000, buffer.data(), got));
  model.replace(1000, got, buffer);
  EXPECT_EQ(3000u, small.StoreStats().memory_bytes);
  EXPECT_FALSE(small.ShowsOriginal(img, 0, img, 5000, 3000));
  EXPECT_TRUE(small.ShowsOriginal(img, 4000, img, 9000, 1000));

  // Stored bytes move as they are, here over part of themselves.
  move(1000, 1500, 4000);
  EXPECT_EQ(3000u, small.StoreStats().memory_bytes);
  EXPECT_TRUE(small.ShowsOriginal(img, 4500, img, 9000, 1000));

  // Zeros past a cut read as zeros over the disk's bytes only if stored.
  ASSERT_TRUE(file->Resize(9000));
  ASSERT_TRUE(file->Resize(10000));
  model.resize(9000);
  model.resize(10000, '\0');
  move(9400, 200, 500);
  move(9500, 9990, 100);
  EXPECT_EQ(3500u, small.StoreStats().memory_bytes);
  EXPECT_EQ(0u, small.StoreStats().spilled_bytes);
  file.reset();
  std::string all;
  ASSERT_TRUE(ReadWholeFile(small, img, &all));
  EXPECT_EQ(model, all);
}

TEST(ScratchFileTest, NothingIsLeftAfterCloseOrAnAbruptEnd) {
  TempFolder folder;
  std::unique_ptr<File> scratch = MakeScratchFile(folder.path());
  ASSERT_TRUE(scratch);
  ASSERT_TRUE(scratch->WriteAt(5, "spill", 5));
  char read[10];
  size_t got = 0;
  ASSERT_TRUE(scratch->ReadAt(0, read, sizeof read, &got));
  EXPECT_EQ(std::string("\0\0\0\0\0spill", 10), std::string(read, got));
  scratch.reset();
  EXPECT_EQ("", TreeSnapshot(folder.path()));

  // A process that ends without any cleanup leaves nothing either.
  EXPECT_EXIT(
      {
        std::unique_ptr<File> kept = MakeScratchFile(folder.path());
        kept->WriteAt(0, "x", 1);
        std::_Exit(kept ? 3 : 4);
      },
      ::testing::ExitedWithCode(3), "");
  EXPECT_EQ("", TreeSnapshot(folder.path()));
  EXPECT_FALSE(MakeScratchFile(folder.path() + "absent\\"));
}

}  // namespace
}  // namespace quarn
