#include "tools/fuzz/fuzz_game.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>

#include "editing/install_log.h"
#include "platform/file_contents.h"
#include "platform/memory_file_system.h"
#include "run/install_context.h"
#include "run/runner.h"
#include "testutil/expected_log.h"
#include "testutil/file_tree.h"
#include "tools/fuzz/write_guard.h"
#include "tools/samplegen/sample_game.h"
#include "tools/samplegen/sample_mod.h"

namespace quarn {
void FuzzFinding(const std::string& what) {
  std::fprintf(stderr, "%s\n", what.c_str());
  std::abort();
}

namespace {

namespace fs = std::filesystem;

std::string EngineForm(const fs::path& native) {
  std::string text = native.string();
  for (char& c : text) {
    if (c == '/') c = '\\';
  }
  return text;
}

SampleGameOptions SmallGame() {
  SampleGameOptions options;
  options.img_entries = 8;
  options.img_bytes = 32 * 1024;
  options.ide_files = 2;
  options.ide_definitions = 20;
  options.backups = false;
  return options;
}

// The game files the mod folder gets copies of, to install them again.
const struct {
  const char* game_file;
  const char* mod_file;
} kModCopies[] = {
    {"data\\maps\\harbour\\harbour.ide", "MOD.IDE"},
    {"data\\maps\\harbour\\harbour.ipl", "MOD.IPL"},
    {"models\\coll\\generic.col", "MOD.COL"},
};

void CopyFileWithin(MemoryFileSystem& memory, const std::string& from,
                    const std::string& to) {
  std::string bytes;
  if (!ReadWholeFile(memory, from, &bytes) ||
      !WriteWholeFile(memory, to, bytes)) {
    FuzzFinding("the fuzz game lacks " + from +
                ": the sample generator changed its names");
  }
}

std::unique_ptr<MemoryFileSystem> MakeGame() {
  std::random_device random;
  const fs::path native =
      fs::temp_directory_path() / ("quarn-fuzz-" + std::to_string(random()));
  std::string error;
  if (!WriteSampleGame((native / "game").string(), SmallGame(), &error) ||
      !WriteSampleMod((native / "mod").string(), SmallGame(), &error)) {
    FuzzFinding("cannot make the fuzz game: " + error);
  }
  auto memory = std::make_unique<MemoryFileSystem>();
  std::unique_ptr<FileSystem> disk = MakeNativeFileSystem();
  const bool copied =
      CopyTree(*disk, EngineForm(native / "game") + "\\", *memory, kFuzzGame) &&
      CopyTree(*disk, EngineForm(native / "mod") + "\\", *memory,
               kFuzzInstaller);
  std::error_code ignored;
  fs::remove_all(native, ignored);
  if (!copied) FuzzFinding("cannot copy the fuzz game into memory");
  for (const auto& copy : kModCopies) {
    CopyFileWithin(*memory, std::string(kFuzzGame) + copy.game_file,
                   std::string(kFuzzInstaller) + copy.mod_file);
  }
  return memory;
}

const MemoryFileSystem& Game() {
  static const MemoryFileSystem* game = MakeGame().release();
  return *game;
}

}  // namespace

std::unique_ptr<MemoryFileSystem> FreshFuzzGame() { return Game().Clone(); }

const SampleModPlan& FuzzMod() {
  static const SampleModPlan* mod =
      new SampleModPlan(PlanSampleMod(SmallGame()));
  return *mod;
}

namespace {

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() &&
         text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace

void RunFuzzScript(const std::string& script,
                   const std::vector<FuzzFile>& files) {
  std::unique_ptr<MemoryFileSystem> memory = FreshFuzzGame();
  const std::string installer = kFuzzInstaller;
  if (!WriteWholeFile(*memory, installer + kScriptFileName, script)) {
    FuzzFinding("cannot write the script");
  }
  for (const FuzzFile& file : files) {
    MakeFoldersThrough(*memory, file.path.substr(0, file.path.rfind('\\')));
    WriteWholeFile(*memory, file.path, file.bytes);
  }
  {
    // The log is made before the run, as the window does at start-up.
    std::unique_ptr<InstallLog> log =
        InstallLog::Create(*memory, installer, nullptr);
    WriteGuard guard(*memory, kFuzzGame, {installer + "ID dump.txt"});
    InstallContext ctx(guard, *log);
    ctx.InstallerDir = installer;
    ctx.ChosenPath = kFuzzGame;
    ctx.DumpObjectIds = true;
    RunInstallation(ctx);
  }
  std::string log;
  ReadWholeFile(*memory, installer + kLogFileName, &log);
  // The object ID dump reports itself after the banner.
  const size_t dump = log.rfind("Dumping object ID's from memory to disk... ");
  if (dump != std::string::npos) log.resize(dump);
  if (!EndsWith(log, DoneBanner()) && !EndsWith(log, FailedBanner()) &&
      !EndsWith(log, AbortedBanner())) {
    FuzzFinding("the log does not end with a closing banner:\n" + log);
  }
}

void RunFuzzScriptsOverFile(
    const std::string& bytes, const std::vector<std::string>& paths,
    const std::vector<std::vector<std::string>>& scripts) {
  std::vector<FuzzFile> files;
  for (const std::string& path : paths) files.push_back({path, bytes});
  for (const std::vector<std::string>& script : scripts) {
    RunFuzzScript(JoinLines(script), files);
  }
}

}  // namespace quarn
