// Item definition files: the input is an IDE file of the game and of the
// mod, read by the ID scan (COPY and the full scan) and by the IDE editor,
// which rewrites it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/fuzz/fuzz_game.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string game = quarn::kFuzzGame;
  quarn::RunFuzzScriptsOverFile(
      std::string(reinterpret_cast<const char*>(data), size),
      {game + "data\\maps\\generic.ide",
       std::string(quarn::kFuzzInstaller) + "FUZZ.IDE"},
      {
          {"COPY FUZZ.IDE TO data\\maps\\fuzz.ide"},
          {"IDE OPEN data\\maps\\generic.ide",
           "IDE ADD OBJS 4000, sm_kiosk00, sm_kiosk00, 1, 150, 0",
           "IDE ADD TOBJ 4001, sm_kiosk01, sm_kiosk00, 1, 150, 0, 20, 6",
           "IDE ADD 2DFX 4000, 0, 0, 3.5, 255, 200, 120, 200, 0",
           "IDE DEL OBJS 1*", "IDE DEL sm_", "IDE CLOSE"},
          {"IDE OPEN data\\maps\\harbour\\harbour.ide", "IDE ADDFILE FUZZ.IDE",
           "IDE CLOSE"},
      });
  return 0;
}
