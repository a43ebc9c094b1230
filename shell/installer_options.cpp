#include "shell/installer_options.h"

namespace quarn {

std::string CullZonesNotice(int32_t value) {
  if (value != 1) return "";
  return "Scanning installed CULL zones before installing not implemented yet";
}

}  // namespace quarn
