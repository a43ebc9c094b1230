#include "tools/samplegen/sample_catalogue.h"

#include <filesystem>

#include "tools/samplegen/native_output.h"
#include "tools/samplegen/sample_mod.h"

namespace quarn {
namespace fs = std::filesystem;
namespace {

// The script of a small mod: it says who it is, copies its own file and,
// with a marker, overwrites the install order file.
std::vector<std::string> SmallModScript(const SampleCatalogueMod& mod) {
  std::vector<std::string> script = {
      "; QuarnInstall.txt of " + mod.folder,
      "PRINT Installing " + mod.name_line,
      "COPY \"" + mod.own_file + "\" TO \"" + mod.own_file + "\"",
  };
  if (!mod.marker.empty()) {
    script.push_back("COPY \"order.txt\" TO \"" +
                     std::string(kInstallOrderFile) + "\"");
  }
  script.push_back("PRINT " + mod.folder + " done.");
  return script;
}

bool WriteSmallMod(const fs::path& folder, const SampleCatalogueMod& mod,
                   std::string* error) {
  if (!mod.marker.empty() &&
      !WriteNativeTextFile(folder / "order.txt", {mod.marker}, error)) {
    return false;
  }
  return WriteNativeTextFile(folder / "QuarnInstall.txt", SmallModScript(mod),
                             error) &&
         WriteNativeTextFile(folder / mod.own_file,
                             {"Installed by " + mod.folder}, error);
}

}  // namespace

std::vector<SampleCatalogueMod> SampleCatalogueMods() {
  return {
      {"X1", "Kiosk area (the sample mod)", true, "", ""},
      {"X2", "Road signs", true, "X2", "Road Signs.txt"},
      {"X3", "*** Night sky (unfinished, not installed by default)", false,
       "X3", "Night Sky.txt"},
      {"x10_Last", "Last touches", true, "X10", "Last Touches.txt"},
  };
}

bool WriteSampleCatalogue(const std::string& dir, const SampleGameOptions& game,
                          std::string* error) {
  const fs::path root(dir);
  for (const SampleCatalogueMod& mod : SampleCatalogueMods()) {
    const fs::path folder = root / mod.folder;
    const bool written = mod.own_file.empty()
                             ? WriteSampleMod(folder.string(), game, error)
                             : WriteSmallMod(folder, mod, error);
    if (!written ||
        !WriteNativeTextFile(folder / "InsName.txt", {mod.name_line}, error)) {
      return false;
    }
  }
  return true;
}

}  // namespace quarn
