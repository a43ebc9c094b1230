// "InsName.txt": the input is a mod's display-name file; the catalogue
// built with it must keep both mods and a name within its capacity.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/file_contents.h"
#include "shell/mod_catalogue_build.h"
#include "tools/fuzz/fuzz_game.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::unique_ptr<quarn::MemoryFileSystem> fs = quarn::FreshFuzzGame();
  const std::string installer = quarn::kFuzzInstaller;
  for (const char* mod : {"X1", "X2"}) {
    fs->MakeFolder(installer + mod);
    quarn::WriteWholeFile(*fs, installer + mod + "\\QuarnInstall.txt",
                          "PRINT\r\n");
  }
  quarn::WriteWholeFile(*fs, installer + "X1\\" + quarn::kModNameFileName,
                        std::string(reinterpret_cast<const char*>(data), size));
  quarn::CollectedMessages messages;
  const quarn::ModCatalogue catalogue =
      quarn::LoadModCatalogue(*fs, installer, messages);
  if (catalogue.Entries.size() != 2 ||
      catalogue.Entries[0].FolderName != "X1" ||
      catalogue.Entries[0].DisplayName.size() > quarn::kDisplayNameCapacity) {
    quarn::FuzzFinding("InsName.txt lost a mod or overran the name");
  }
  return 0;
}
