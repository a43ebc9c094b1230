// The archive directory: the input is models\gta3.dir of the small archive,
// opened, verified, tidied of duplicates and rebuilt.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/fuzz/fuzz_game.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using quarn::FuzzMod;
  const std::string dir = std::string(quarn::kFuzzGame) + "models\\gta3.dir";
  quarn::RunFuzzScriptsOverFile(
      std::string(reinterpret_cast<const char*>(data), size), {dir},
      {
          {"IMG OPENDEF", "IMG VERIFY", "IMG CLOSE"},
          {"IMG OPENDEF", "IMG DELDUP", "DIR SELECT models",
           "IMG ADD " + FuzzMod().replaced_entry,
           "IMG ADD " + FuzzMod().added_model,
           "IMG DELETE " + FuzzMod().deleted_entry, "IMG REBUILD"},
          {"IMG OPENDEF", "DIR SELECT models", "IMG ADDALL",
           "IMG DELFROM " + FuzzMod().deleted_entry + " TO " +
               FuzzMod().replaced_entry,
           "IMG CLOSE"},
      });
  return 0;
}
