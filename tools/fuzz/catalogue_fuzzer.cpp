// The catalogue scan: every line of the input names a folder made beside
// the installer, every other one with a script. The catalogue must list
// only mod folders, in ascending number, once each.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_contents.h"
#include "script/runner.h"
#include "shell/mod_catalogue_build.h"
#include "shell/mod_folder_scan.h"
#include "text/lines.h"
#include "tools/fuzz/fuzz_game.h"

namespace {

int FolderNumber(const std::string& name) {
  if (name.size() < 2 || (name[0] != 'X')) return -1;
  return std::atoi(name.c_str() + 1);
}

}  // namespace

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
  int previous = 0;
  for (const quarn::ModEntry& entry : catalogue.Entries) {
    const int number = FolderNumber(entry.FolderName);
    if (number <= previous || number > quarn::kHighestModNumber) {
      quarn::FuzzFinding("the catalogue lists " + entry.FolderName +
                         " out of order or out of range");
    }
    previous = number;
  }
  if (catalogue.Present == catalogue.Entries.empty()) {
    quarn::FuzzFinding("the catalogue's present flag contradicts its entries");
  }
  return 0;
}
