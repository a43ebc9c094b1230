// Whole scripts, every command: the input is "QuarnInstall.txt".
#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/fuzz/fuzz_game.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  quarn::RunFuzzScript(std::string(reinterpret_cast<const char*>(data), size),
                       {});
  return 0;
}
