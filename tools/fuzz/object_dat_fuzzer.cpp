// The object list: the input is data\object.dat, edited and rewritten by
// its editor.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/fuzz/fuzz_game.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  quarn::RunFuzzScriptsOverFile(
      std::string(reinterpret_cast<const char*>(data), size),
      {std::string(quarn::kFuzzGame) + "data\\object.dat"},
      {
          {"OBJECT.DAT OPEN",
           "OBJECT.DAT ADD sm_kiosk00, 99999, 0.15, 0.8, 0.4, 50, 1, 0, 0",
           "OBJECT.DAT DEL hb_", "OBJECT.DAT DEL sm_kiosk00",
           "OBJECT.DAT ADD sm_kiosk01 , 1, 1", "OBJECT.DAT CLOSE"},
      });
  return 0;
}
