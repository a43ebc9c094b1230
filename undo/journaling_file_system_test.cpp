// A run's changes of every kind, journaled and then undone, leave the game
// exactly as it was, whichever change the run stopped at: the journal's own
// writes failing included.
#include "undo/journaling_file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/faulty_file_system.h"
#include "platform/file_contents.h"
#include "platform/game_file.h"
#include "platform/memory_file_system.h"
#include "testutil/file_tree.h"
#include "testutil/undo_all.h"
#include "undo/journal_folder.h"
#include "undo/journal_undo.h"

namespace quarn {
namespace {

const char kGame[] = "C:\\Game\\";

std::string Pattern(size_t length, int seed) {
  std::string bytes(length, '\0');
  for (size_t i = 0; i < length; ++i) {
    bytes[i] = static_cast<char>((i * 131 + seed * 7 + i / 2048) & 0xFF);
  }
  return bytes;
}

void Put(FileSystem& fs, const std::string& path, const std::string& bytes) {
  ASSERT_TRUE(WriteWholeFile(fs, std::string(kGame) + path, bytes)) << path;
}

std::unique_ptr<MemoryFileSystem> MakeGame() {
  auto fs = std::make_unique<MemoryFileSystem>();
  MakeFoldersThrough(*fs, kGame);
  fs->MakeFolder(std::string(kGame) + "data");
  fs->MakeFolder(std::string(kGame) + "models");
  fs->MakeFolder(std::string(kGame) + "old");
  Put(*fs, "data\\gta_vc.dat", "IDE DATA\\DEFAULT.IDE\r\n");
  Put(*fs, "data\\locked.ide", "objs\r\nend\r\n");
  fs->SetAttributes(std::string(kGame) + "data\\locked.ide",
                    kAttrReadOnly | kAttrHidden);
  Put(*fs, "old\\gone.txt", "bye");
  Put(*fs, "models\\gta3.dir", Pattern(96, 1));
  Put(*fs, "models\\gta3.img", Pattern(32 * 2048, 2));
  return fs;
}

bool Moves(FileSystem& fs, const std::string& path,
           const std::vector<ByteMove>& moves) {
  std::unique_ptr<File> file = fs.Open(path, OpenMode::kReadWrite, nullptr);
  if (!file || !file->ExpectMoves(moves)) return false;
  for (const ByteMove& move : moves) {
    if (file->MoveBytes(move.from, move.to, move.length, nullptr) !=
        TransferOutcome::kDone) {
      return false;
    }
  }
  return true;
}

// Two mods' worth of changes of every kind the editors make, stopping at
// the first that fails, as a run does.
bool ChangeTheGame(JournalingFileSystem& fs) {
  const std::string game = kGame;
  const std::string archive = game + "models\\gta3.img";
  fs.BeginMod({"C:\\Quarn\\", "X1", "First"});
  const bool first =
      ReplaceWholeFile(fs, game + "data\\gta_vc.dat", "IDE NEW.IDE\r\n") &&
      fs.SetAttributes(game + "data\\locked.ide", 0) &&
      ReplaceWholeFile(fs, game + "data\\locked.ide",
                       "objs\r\n1, a\r\nend\r\n") &&
      fs.MakeFolder(game + "new") &&
      WriteWholeFile(fs, game + "new\\mod.txt", "mine") &&
      fs.RemoveFile(game + "old\\gone.txt") && fs.RemoveFolder(game + "old") &&
      // An archive rebuilt in place: the first two sectors deleted, the rest
      // shifted down over itself, a hole squeezed out, a file filled in.
      Moves(fs, archive,
            {{4096, 0, 12 * 2048}, {16 * 2048, 12 * 2048, 10 * 2048}}) &&
      [&] {
        std::unique_ptr<File> file =
            fs.Open(archive, OpenMode::kReadWrite, nullptr);
        const std::string added = Pattern(3 * 2048, 9);
        return file && file->WriteAt(22 * 2048, added.data(), added.size()) &&
               file->Resize(25 * 2048);
      }() &&
      ReplaceWholeFile(fs, game + "models\\gta3.dir", Pattern(64, 3)) &&
      fs.EndMod(EntryEnd::kFinished);
  if (!first) return false;
  fs.BeginMod({"C:\\Quarn\\", "X2", "Second"});
  return
      // Kept data moving up, past the end, and a copy over a game file.
      Moves(fs, archive, {{0, 3 * 2048, 8 * 2048}}) &&
      fs.CopyOver(game + "new\\mod.txt", game + "data\\gta_vc.dat") &&
      // A name that only begins like the journal's folder is the game's.
      WriteWholeFile(fs, game + "QuarnUndo notes.txt", "mine") &&
      fs.EndMod(EntryEnd::kFinished);
}

std::vector<JournalEntry> NewestFirst(FileSystem& fs) {
  std::vector<JournalEntry> entries = ListJournalEntries(fs, kGame);
  return std::vector<JournalEntry>(entries.rbegin(), entries.rend());
}

void UndoAll(FileSystem& fs) { EXPECT_EQ("", UndoWholeJournal(fs, kGame)); }

// The paths whose state differs, each with a short account, so that a
// failure shows where the trees part without dumping the archive.
std::vector<std::string> Differences(
    const std::map<std::string, std::string>& want,
    const std::map<std::string, std::string>& got) {
  std::map<std::string, bool> paths;
  for (const auto& entry : want) paths[entry.first] = true;
  for (const auto& entry : got) paths[entry.first] = true;
  std::vector<std::string> differences;
  for (const auto& path : paths) {
    const auto w = want.find(path.first);
    const auto g = got.find(path.first);
    if (w != want.end() && g != got.end() && w->second == g->second) continue;
    std::string line = path.first + ":";
    for (const auto& side : {w == want.end() ? nullptr : &w->second,
                             g == got.end() ? nullptr : &g->second}) {
      line += side == nullptr ? " missing"
                              : " " + side->substr(0, side->find(' ')) + "/" +
                                    std::to_string(side->size());
    }
    const size_t same =
        w == want.end() || g == got.end()
            ? 0
            : std::mismatch(w->second.begin(),
                            w->second.begin() +
                                std::min(w->second.size(), g->second.size()),
                            g->second.begin())
                      .first -
                  w->second.begin();
    differences.push_back(line + " first difference at " +
                          std::to_string(same));
  }
  return differences;
}

std::string FixedClock() { return "2026-12-09 10:00:00"; }

struct Journaled {
  explicit Journaled(FileSystem& below) : fs(below, FixedClock) {
    fs.FollowGameFolder([] { return std::string(kGame); });
  }
  JournalingFileSystem fs;
};

TEST(JournalingFileSystem, EveryChangeIsUndoneExactly) {
  std::unique_ptr<MemoryFileSystem> disk = MakeGame();
  const auto before = TreeState(*disk, kGame);
  {
    Journaled run(*disk);
    ASSERT_TRUE(ChangeTheGame(run.fs));
  }
  const std::vector<JournalEntry> entries = ListJournalEntries(*disk, kGame);
  ASSERT_EQ(2u, entries.size());
  EXPECT_EQ(entries[0].number, entries[1].run);
  EXPECT_EQ(EntryEnd::kFinished, entries[1].end);
  EXPECT_EQ("X2 (Second)", EntryModLabel(entries[1]));
  EXPECT_EQ(std::vector<std::string>(),
            ChangedSinceInstall(*disk, kGame, NewestFirst(*disk)));
  // The moved sectors (22) are recorded by their hashes, not copied: the
  // journal holds the deleted and cut sectors (10), the old directory and
  // the small files.
  EXPECT_LT(JournalEntryBytes(*disk, kGame, 1), 10u * 2048 + 4096);
  UndoAll(*disk);
  EXPECT_EQ(std::vector<std::string>(),
            Differences(before, TreeState(*disk, kGame)));
}

TEST(JournalingFileSystem, ARunStoppedAtAnyChangeIsUndoneExactly) {
  std::unique_ptr<MemoryFileSystem> prepared = MakeGame();
  const auto before = TreeState(*prepared, kGame);
  int points = 0;
  for (int n = 1;; ++n) {
    std::unique_ptr<MemoryFileSystem> disk = prepared->Clone();
    FaultyFileSystem faulty(*disk);
    FaultPlan plan;
    plan.failing_change = n;
    plan.changes_under = kGame;
    faulty.Plan(plan);
    {
      Journaled run(faulty);
      if (ChangeTheGame(run.fs)) {
        EXPECT_GT(points, 20);
        break;
      }
    }
    ++points;
    SCOPED_TRACE("change " + std::to_string(n) + " failed");
    // The failed change stopped the run as a crash would, its entry left
    // unfinished: undo takes whatever the journal reached. A run stopped
    // before its first record changed nothing.
    if (ListJournalEntries(*disk, kGame).empty()) {
      EXPECT_EQ(std::vector<std::string>(),
                Differences(before, TreeState(*disk, kGame)));
    }
    UndoAll(*disk);
    EXPECT_EQ(std::vector<std::string>(),
              Differences(before, TreeState(*disk, kGame)));
  }
}

TEST(JournalingFileSystem, AnUndoStoppedAtAnyChangeGoesOnWhenRunAgain) {
  std::unique_ptr<MemoryFileSystem> prepared = MakeGame();
  const auto before = TreeState(*prepared, kGame);
  {
    Journaled run(*prepared);
    ASSERT_TRUE(ChangeTheGame(run.fs));
  }
  for (int n = 1;; ++n) {
    SCOPED_TRACE("the undo's change " + std::to_string(n) + " failed");
    std::unique_ptr<MemoryFileSystem> disk = prepared->Clone();
    FaultyFileSystem faulty(*disk);
    FaultPlan plan;
    plan.failing_change = n;
    faulty.Plan(plan);
    const bool whole = UndoWholeJournal(faulty, kGame).empty();
    UndoAll(*disk);
    EXPECT_EQ(std::vector<std::string>(),
              Differences(before, TreeState(*disk, kGame)));
    if (whole) break;
  }
}

TEST(JournalingFileSystem, AnUnfinishedEntryOrAnotherRunBlocksTheGame) {
  std::unique_ptr<MemoryFileSystem> disk = MakeGame();
  {
    Journaled crashed(*disk);
    crashed.fs.BeginMod({"C:\\Quarn\\", "X1", "First"});
    ASSERT_TRUE(WriteWholeFile(crashed.fs, std::string(kGame) + "a.txt", "a"));
    Journaled second(*disk);
    EXPECT_EQ(JournalRefusal::kLocked, second.fs.OpenGame(kGame, nullptr));
  }
  Journaled next(*disk);
  JournalEntry unfinished;
  EXPECT_EQ(JournalRefusal::kUnfinished, next.fs.OpenGame(kGame, &unfinished));
  EXPECT_EQ("X1", unfinished.mod_folder);
  // A run that reaches the game without asking first is refused at its
  // first change, which is not made.
  Journaled scripted(*disk);
  EXPECT_FALSE(WriteWholeFile(scripted.fs, std::string(kGame) + "b.txt", "b"));
  EXPECT_EQ(kNoSuchFile, disk->AttributesOf(std::string(kGame) + "b.txt"));
  EXPECT_EQ(kReasonUnfinished, scripted.fs.LastError().reason);
}

}  // namespace
}  // namespace quarn
