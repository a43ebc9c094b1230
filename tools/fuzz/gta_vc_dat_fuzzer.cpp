// The game's master list: the input is data\gta_vc.dat, edited and
// rewritten by its editor, and read by the full IDE scan.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/fuzz/fuzz_game.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  quarn::RunFuzzScriptsOverFile(
      std::string(reinterpret_cast<const char*>(data), size),
      {std::string(quarn::kFuzzGame) + "data\\gta_vc.dat"},
      {
          {"GTA_VC.DAT OPEN", "GTA_VC.DAT ADD IDE DATA\\MAPS\\NEW\\NEW.IDE",
           "GTA_VC.DAT ADD IPL DATA\\MAPS\\NEW\\NEW.IPL",
           "GTA_VC.DAT ADD COLFILE 0 MODELS\\COLL\\NEW.COL",
           "GTA_VC.DAT ADD SPLASH1 newsplash", "GTA_VC.DAT DEL IPL DATA\\MAP",
           "GTA_VC.DAT DEL SPLASH", "GTA_VC.DAT CLOSE"},
          {"IDE OPEN data\\maps\\generic.ide", "IDE CLOSE"},
      });
  return 0;
}
