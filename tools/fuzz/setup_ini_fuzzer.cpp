// "Setup.ini": the input is the installer's settings file; what it gives
// must stay within the capacities the pages rely on.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/file_contents.h"
#include "shell/setup_ini.h"
#include "tools/fuzz/fuzz_game.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::unique_ptr<quarn::MemoryFileSystem> fs = quarn::FreshFuzzGame();
  const std::string installer = quarn::kFuzzInstaller;
  quarn::WriteWholeFile(*fs, installer + quarn::kSetupIniFileName,
                        std::string(reinterpret_cast<const char*>(data), size));
  const quarn::SetupSettings settings = quarn::ReadSetupIni(*fs, installer);
  if (!settings.welcome_wanted || settings.welcome_caption.size() > 254 ||
      settings.selection_caption.size() > 254 ||
      settings.welcome_text.size() > 4999) {
    quarn::FuzzFinding("Setup.ini gave settings beyond their capacities");
  }
  return 0;
}
