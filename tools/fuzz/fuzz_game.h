// The small game every fuzz target installs into: made once per process by
// the sample generator, held in memory, and copied afresh for every run.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/memory_file_system.h"
#include "tools/samplegen/sample_mod.h"

namespace quarn {

/// The installer folder: the single mod's script and files lie here.
inline constexpr char kFuzzInstaller[] = "C:\\Quarn\\";
/// The game folder the run is given.
inline constexpr char kFuzzGame[] = "C:\\Games\\Vice City\\";

/// A file written into the fresh copy before a run, by absolute path.
struct FuzzFile {
  std::string path;
  std::string bytes;
};

/// Runs `script` as "QuarnInstall.txt" of the single mod against a fresh
/// copy of the game with `files` written over it, with the object ID dump
/// on. Aborts (a finding) when the run changed anything outside the game
/// folder besides "ID dump.txt", or its log does not end with one of the
/// three closing banners.
///
/// The game: gta-vc.exe, data\gta_vc.dat, data\object.dat, data\default.ide,
/// data\maps\generic.ide, cull.ipl and two areas' IDE and IPL files,
/// models\coll\*.col, models\gta3.img and gta3.dir (8 entries). The mod
/// folder: the sample mod's files (SAMPLE.IDE, "Read Me.txt", models\*),
/// and copies of game files to install: MOD.IDE, MOD.IPL and MOD.COL.
void RunFuzzScript(const std::string& script,
                   const std::vector<FuzzFile>& files);

/// A fresh copy of the game and the installer folder, for targets that
/// read the installer's own files rather than run a script.
std::unique_ptr<MemoryFileSystem> FreshFuzzGame();

/// Reports `what` and stops the process, as a sanitizer does for a crash.
[[noreturn]] void FuzzFinding(const std::string& what);

/// What the sample mod in the installer folder does to the game: the names
/// of the archive entries it replaces, deletes and adds.
const SampleModPlan& FuzzMod();

/// Runs `RunFuzzScript` once for each script of `scripts` (lines joined
/// with CR LF), each with `bytes` written to every path of `paths`.
void RunFuzzScriptsOverFile(
    const std::string& bytes, const std::vector<std::string>& paths,
    const std::vector<std::vector<std::string>>& scripts);

}  // namespace quarn
