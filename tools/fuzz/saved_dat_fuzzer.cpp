// "saved.dat": the input is the remembered selection. What it loads must
// save and load back unchanged, so a second start shows the same page.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/file_contents.h"
#include "shell/saved_selection.h"
#include "tools/fuzz/fuzz_game.h"

namespace {

quarn::ModCatalogue TwoMods() {
  quarn::ModCatalogue catalogue;
  catalogue.Present = true;
  catalogue.Entries = {{"X1", "First", 1}, {"X2", "Second", 1}};
  return catalogue;
}

bool SameLoad(const quarn::SavedSelection& a, const quarn::ModCatalogue& ca,
              const quarn::SavedSelection& b, const quarn::ModCatalogue& cb) {
  if (a.remembered_path != b.remembered_path ||
      a.options.FastCopyFromBackup != b.options.FastCopyFromBackup ||
      a.options.ScanCullZones != b.options.ScanCullZones ||
      a.options.DumpObjectIds != b.options.DumpObjectIds) {
    return false;
  }
  for (size_t i = 0; i < ca.Entries.size(); ++i) {
    if (ca.Entries[i].Selection != cb.Entries[i].Selection) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::unique_ptr<quarn::MemoryFileSystem> fs = quarn::FreshFuzzGame();
  const std::string path =
      std::string(quarn::kFuzzInstaller) + quarn::kSavedFileName;
  quarn::WriteWholeFile(*fs, path,
                        std::string(reinterpret_cast<const char*>(data), size));
  quarn::ModCatalogue first = TwoMods();
  const quarn::SavedSelection loaded =
      quarn::LoadSavedSelection(*fs, path, &first);
  if (!quarn::SaveSelection(*fs, path, loaded.remembered_path, loaded.options,
                            first)) {
    quarn::FuzzFinding("saved.dat could not be written back");
  }
  quarn::ModCatalogue second = TwoMods();
  const quarn::SavedSelection again =
      quarn::LoadSavedSelection(*fs, path, &second);
  if (!SameLoad(loaded, first, again, second)) {
    quarn::FuzzFinding("saved.dat does not load back what was saved");
  }
  return 0;
}
