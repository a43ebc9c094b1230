// Placement files: the input is an IPL file of the game and of the mod,
// read and rewritten by the IPL editor.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/fuzz/fuzz_game.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  quarn::RunFuzzScriptsOverFile(
      std::string(reinterpret_cast<const char*>(data), size),
      {std::string(quarn::kFuzzGame) + "data\\maps\\cull.ipl",
       std::string(quarn::kFuzzInstaller) + "FUZZ.IPL"},
      {
          {"IPL OPEN data\\maps\\cull.ipl",
           "IPL ADD INST 4000, sm_kiosk00, 0, 1.0, 2.0, 3.0, 1, 1, 1, 0, 0, "
           "0, 1",
           "IPL ADD CULL 0, 0, 0, -10, -10, -10, 10, 10, 10, 0, 0",
           "IPL ADD PATH ped, 0, -1", "IPL ADD PICK 1, 2, 3, 4",
           "IPL DEL INST 1*", "IPL DEL sm_", "IPL CLOSE"},
          {"IPL CREATE data\\maps\\fresh.ipl", "IPL ADDFILE FUZZ.IPL",
           "IPL CLOSE"},
      });
  return 0;
}
