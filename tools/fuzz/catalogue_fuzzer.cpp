// The catalogue scan: every line of the input names a folder made beside
// the installer, every other one with a script. The catalogue must list
// only mod folders, once each.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/file_contents.h"
#include "run/runner.h"
#include "shell/mod_catalogue_build.h"
#include "shell/mod_folder_scan.h"
#include "text/lines.h"
#include "tools/fuzz/fuzz_game.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::unique_ptr<quarn::MemoryFileSystem> fs = quarn::FreshFuzzGame();
  const std::string installer = quarn::kFuzzInstaller;
  const std::vector<std::string> names =
      quarn::SplitLines(std::string(reinterpret_cast<const char*>(data), size));
  for (size_t i = 0; i < names.size() && i < 64; ++i) {
    if (!fs->MakeFolder(installer + names[i]) || i % 2 == 1) continue;
    quarn::WriteWholeFile(*fs,
                          installer + names[i] + "\\" + quarn::kScriptFileName,
                          "PRINT " + names[i] + "\r\n");
  }
  quarn::CollectedMessages messages;
  const quarn::ModCatalogue catalogue =
      quarn::LoadModCatalogue(*fs, installer, messages);
  // The folder number is read leniently ("X.6" counts as mod 6), so only
  // the name's first letter and its uniqueness are checked here.
  std::set<std::string> seen;
  for (const quarn::ModEntry& entry : catalogue.Entries) {
    if (entry.FolderName.empty() || entry.FolderName[0] != 'X' ||
        !seen.insert(entry.FolderName).second) {
      quarn::FuzzFinding("the catalogue lists " + entry.FolderName +
                         " although it is no mod folder or listed already");
    }
  }
  if (catalogue.Entries.size() > quarn::kHighestModNumber) {
    quarn::FuzzFinding("the catalogue holds more mods than there are numbers");
  }
  if (catalogue.Present == catalogue.Entries.empty()) {
    quarn::FuzzFinding("the catalogue's present flag contradicts its entries");
  }
  return 0;
}
