// Collision files: the input is a COL file of the game and of the mod, its
// chunks read by the COL editor, which copies, deletes and rewrites them.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/fuzz/fuzz_game.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  quarn::RunFuzzScriptsOverFile(
      std::string(reinterpret_cast<const char*>(data), size),
      {std::string(quarn::kFuzzGame) + "models\\coll\\generic.col",
       std::string(quarn::kFuzzInstaller) + "FUZZ.COL"},
      {
          {"COL OPEN models\\coll\\generic.col", "COL DELETE hb_roof00",
           "COL ADD hb_roof00 FROM MOD.COL", "COL CLOSE"},
          {"COL OPEN models\\coll\\generic.col", "COL ADDFILE FUZZ.COL",
           "COL ADD gn_box00 FROM FUZZ.COL", "COL CLOSE"},
      });
  return 0;
}
