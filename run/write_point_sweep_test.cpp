// Every write a run makes in the game folder is made to fail in turn: the
// 1st, the 2nd, ... until a run no longer gets that far. Whatever failed,
// the run must say so, and every game file must be whole: as it was before
// the run or as a run without faults leaves it, never something between.
// A run of several mods stops at the mod that failed, so the mods before it
// stay installed: each file may also be as a fault-free run leaves it after
// any one of the mods.
// Whatever failed, undo then puts the game back as it was before the run.
// The one exception is the archive rewritten in place, which cannot be
// whole once its data started to move: the log must then say so, and where
// the rebuild could still write a directory for the entries it kept, that
// directory must describe the archive exactly.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "img/img_directory.h"
#include "platform/faulty_file_system.h"
#include "platform/file_contents.h"
#include "platform/memory_file_system.h"
#include "run/install_context.h"
#include "run/journaled_run.h"
#include "run/runner.h"
#include "shell/mod_catalogue_build.h"
#include "shell/shell_messages.h"
#include "testutil/expected_log.h"
#include "testutil/file_tree.h"
#include "testutil/script_run.h"
#include "testutil/test_files.h"
#include "testutil/undo_all.h"
#include "tools/samplegen/sample_catalogue.h"
#include "tools/samplegen/sample_game.h"
#include "tools/samplegen/sample_mod.h"

namespace quarn {
namespace {

const char kInstaller[] = "C:\\Quarn\\";
const char kGame[] = "C:\\Games\\Vice City\\";
const char kArchive[] = "MODELS\\GTA3.IMG";
const char kDirectory[] = "MODELS\\GTA3.DIR";

using FileMap = std::map<std::string, std::string>;

/// A game and an installer folder with a script that writes to the game.
struct WriteScenario {
  std::string name;  ///< letters and digits only
  /// Writes the game into native folder `game` and the script with the
  /// files it installs into native folder `installer`.
  std::function<bool(const std::string& game, const std::string& installer,
                     std::string* error)>
      write;
};

// Test listings name the scenario instead of dumping its bytes.
void PrintTo(const WriteScenario& scenario, std::ostream* out) {
  *out << scenario.name;
}

bool WriteSampleInstall(const std::string& game, const std::string& installer,
                        std::string* error) {
  const SampleGameOptions options;
  return WriteSampleGame(game, options, error) &&
         WriteSampleMod(installer, options, error);
}

// The sample catalogue: the sample mod, then two small mods that both
// overwrite one game file, so the file passes through three states.
bool WriteCatalogueInstall(const std::string& game,
                           const std::string& installer, std::string* error) {
  const SampleGameOptions options;
  return WriteSampleGame(game, options, error) &&
         WriteSampleCatalogue(installer, options, error);
}

// The directory's records in reverse order: the kept entries can no longer
// move down in place, so the rebuild writes a new archive beside the old.
bool ReverseDirectory(const std::string& game, std::string* error) {
  const std::string path = game + "\\models\\gta3.dir";
  const std::string bytes = ReadTestFile(path);
  std::string reversed;
  for (size_t end = bytes.size(); end >= kImgRecordSize;
       end -= kImgRecordSize) {
    reversed += bytes.substr(end - kImgRecordSize, kImgRecordSize);
  }
  WriteTestFile(path, reversed);
  if (ReadTestFile(path) == reversed) return true;
  *error = "cannot rewrite " + path;
  return false;
}

std::vector<WriteScenario> WriteScenarios() {
  return {
      {"SampleModOnSampleGame", WriteSampleInstall},
      {"SampleModOnReversedDirectory",
       [](const std::string& game, const std::string& installer,
          std::string* error) {
         return WriteSampleInstall(game, installer, error) &&
                ReverseDirectory(game, error);
       }},
      {"SampleCatalogueOnSampleGame", WriteCatalogueInstall},
  };
}

struct Outcome {
  std::string log;
  FileMap game;    // without the undo journal
  FileMap undone;  // the game's state after undoing the run
  std::string undo_problem;
  int changes = 0;  // how many changes in the game folder were attempted
};

std::string FixedClock() { return "2026-12-09 10:00:00"; }

FileMap WithoutJournal(FileMap files) {
  for (auto it = files.begin(); it != files.end();) {
    it = it->first.rfind("QUARNUNDO\\", 0) == 0 ? files.erase(it) : ++it;
  }
  return files;
}

// Runs the installation of `catalogue` (the single script when it is not
// present) on a copy of `prepared`, failing the `failing_change`th change in
// the game folder (none when 0).
Outcome RunFailing(const MemoryFileSystem& prepared,
                   const ModCatalogue& catalogue, int failing_change) {
  std::unique_ptr<MemoryFileSystem> fs = prepared.Clone();
  // The faults strike the game's files; the journal below them writes on.
  JournalingFileSystem journal(*fs, FixedClock);
  FaultyFileSystem faulty(journal);
  FaultPlan plan;
  plan.failing_change = failing_change;
  plan.changes_under = kGame;
  faulty.Plan(plan);
  MemoryLogWindow window;
  // The log is no game file: it is written past the fault plan.
  std::unique_ptr<InstallLog> log =
      InstallLog::Create(*fs, kInstaller, &window);
  EXPECT_TRUE(log);
  ChangeTracker tracker(faulty);
  InstallContext ctx(tracker, *log);
  FollowRunInJournal(ctx, journal, tracker);
  ctx.InstallerDir = kInstaller;
  ctx.ModCatalogue = catalogue;
  ctx.ChosenPath = kGame;
  RunInstallation(ctx);
  journal.Finish();

  Outcome outcome;
  outcome.changes = faulty.changes();
  ReadWholeFile(*fs, std::string(kInstaller) + kLogFileName, &outcome.log);
  outcome.game = WithoutJournal(TreeFiles(*fs, kGame));
  outcome.undo_problem = UndoWholeJournal(*fs, kGame);
  outcome.undone = TreeState(*fs, kGame);
  return outcome;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() &&
         text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The game before the run, then as a fault-free run leaves it after each
// selected mod (after the single script when there is no catalogue).
std::vector<FileMap> WholeStates(MemoryFileSystem& prepared,
                                 const ModCatalogue& catalogue) {
  std::vector<FileMap> states = {WithoutJournal(TreeFiles(prepared, kGame))};
  if (!catalogue.Present) {
    states.push_back(RunFailing(prepared, catalogue, 0).game);
    return states;
  }
  ModCatalogue first_mods = catalogue;
  for (ModEntry& entry : first_mods.Entries) entry.Selection = 0;
  for (size_t i = 0; i < catalogue.Entries.size(); ++i) {
    if (catalogue.Entries[i].Selection == 0) continue;
    first_mods.Entries[i].Selection = catalogue.Entries[i].Selection;
    states.push_back(RunFailing(prepared, first_mods, 0).game);
  }
  return states;
}

// The paths whose state in `now` is none of the whole `states`.
std::vector<std::string> MixedFiles(const std::vector<FileMap>& states,
                                    const FileMap& now) {
  std::map<std::string, bool> paths;
  for (const auto& file : now) paths[file.first] = true;
  for (const FileMap& files : states) {
    for (const auto& file : files) paths[file.first] = true;
  }
  const auto state = [](const FileMap& files, const std::string& path) {
    const auto found = files.find(path);
    return found == files.end() ? std::string("<missing>") : found->second;
  };
  std::vector<std::string> mixed;
  for (const auto& path : paths) {
    const std::string current = state(now, path.first);
    bool whole = false;
    for (const FileMap& files : states) {
      whole = whole || current == state(files, path.first);
    }
    if (!whole) mixed.push_back(path.first);
  }
  return mixed;
}

std::string ArchiveWarning() {
  const std::string game = kGame;
  return "WARNING: " + game + "models\\gta3.img was changed part-way and no " +
         "longer matches " + game +
         "models\\gta3.dir; restore both from the backup\r\n";
}

// The line a rebuild writes when it wrote the kept entries into their new
// places and then failed: it recreates the directory without the new files.
std::string RecreatedLine() {
  return "- recreating without the new objects: " + std::string(kGame) +
         "models\\gta3.dir\r\n";
}

int32_t RecordField(const std::string& directory, size_t record, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) {
    value |= static_cast<uint32_t>(static_cast<uint8_t>(
                 directory[record * kImgRecordSize + at + i]))
             << (8 * i);
  }
  return static_cast<int32_t>(value);
}

// True when every record of `now`'s directory is one of the fault-free
// run's records, byte for byte, and its data in `now`'s archive is the data
// that run wrote: the directory describes the archive as it is.
bool DirectoryMatchesArchive(const FileMap& now, const FileMap& clean) {
  const std::string& directory = now.at(kDirectory);
  const std::string& clean_directory = clean.at(kDirectory);
  if (directory.size() % kImgRecordSize != 0) return false;
  for (size_t r = 0; r < directory.size() / kImgRecordSize; ++r) {
    const std::string record =
        directory.substr(r * kImgRecordSize, kImgRecordSize);
    bool listed = false;
    for (size_t c = 0; c < clean_directory.size(); c += kImgRecordSize) {
      listed =
          listed || clean_directory.compare(c, kImgRecordSize, record) == 0;
    }
    const size_t start =
        static_cast<size_t>(RecordField(directory, r, 0)) * kImgSectorSize;
    const size_t length =
        static_cast<size_t>(RecordField(directory, r, 4)) * kImgSectorSize;
    if (!listed || now.at(kArchive).substr(start, length) !=
                       clean.at(kArchive).substr(start, length)) {
      return false;
    }
  }
  return true;
}

class WritePointSweep : public ::testing::TestWithParam<WriteScenario> {};

TEST_P(WritePointSweep, EveryFailedWriteLeavesWholeFilesAndSaysSo) {
  TempFolder native;
  std::string error;
  ASSERT_TRUE(GetParam().write(NativePath(native.path() + "game"),
                               NativePath(native.path() + "installer"), &error))
      << error;
  MemoryFileSystem prepared;
  std::unique_ptr<FileSystem> disk = MakeNativeFileSystem();
  ASSERT_TRUE(CopyTree(*disk, native.path() + "game\\", prepared, kGame));
  ASSERT_TRUE(
      CopyTree(*disk, native.path() + "installer\\", prepared, kInstaller));

  CollectedMessages messages;
  const ModCatalogue catalogue =
      LoadModCatalogue(prepared, kInstaller, messages);
  const Outcome clean = RunFailing(prepared, catalogue, 0);
  ASSERT_TRUE(EndsWith(clean.log, DoneBanner())) << clean.log;
  const FileMap before = TreeState(prepared, kGame);
  EXPECT_EQ("", clean.undo_problem);
  EXPECT_TRUE(clean.undone == before) << "undo did not restore the game";
  const std::vector<FileMap> states = WholeStates(prepared, catalogue);
  ASSERT_TRUE(clean.game == states.back()) << "the mods one by one differ";
  ASSERT_NE(states.front(), clean.game) << "the scenario changes nothing";
  const std::string clean_body =
      clean.log.substr(0, clean.log.size() - DoneBanner().size());

  int points = 0;
  for (int n = 1;; ++n) {
    const Outcome run = RunFailing(prepared, catalogue, n);
    if (run.changes < n) break;
    ++points;
    SCOPED_TRACE("change " + std::to_string(n) + " failed; log:\n" + run.log);
    ASSERT_TRUE(EndsWith(run.log, FailedBanner()));
    const std::string body =
        run.log.substr(0, run.log.size() - FailedBanner().size());
    // A message of its own: the log is not just the clean log cut short.
    EXPECT_FALSE(clean_body.compare(0, body.size(), body) == 0);

    std::vector<std::string> mixed = MixedFiles(states, run.game);
    const bool recreated = run.log.find(RecreatedLine()) != std::string::npos &&
                           DirectoryMatchesArchive(run.game, clean.game);
    if (recreated || run.log.find(ArchiveWarning()) != std::string::npos) {
      std::vector<std::string> others;
      // The new directory stays beside the old one when it cannot replace
      // it: it is the only description of the archive written.
      for (const std::string& path : mixed) {
        if (path != kArchive && path != kDirectory &&
            path != std::string(kDirectory) + ".NEW") {
          others.push_back(path);
        }
      }
      mixed = others;
    }
    EXPECT_EQ(std::vector<std::string>(), mixed);
    EXPECT_EQ("", run.undo_problem);
    EXPECT_TRUE(run.undone == before) << "undo did not restore the game";
  }
  EXPECT_GT(points, 0);
  std::printf("%s: %d write points tried\n", GetParam().name.c_str(), points);
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, WritePointSweep, ::testing::ValuesIn(WriteScenarios()),
    [](const ::testing::TestParamInfo<WriteScenario>& info) {
      return info.param.name;
    });

}  // namespace
}  // namespace quarn
