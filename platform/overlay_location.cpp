#include "platform/overlay_location.h"

#include "platform/engine_path.h"

namespace quarn {

OverlayLocation LocateInOverlay(const std::string& path,
                                const std::string& current_folder) {
  EnginePath parsed = ParseEnginePath(path, current_folder);
  OverlayLocation at;
  at.folder_only = parsed.folder_only;
  at.path = parsed.Text();
  at.key = parsed.Key();
  if (!parsed.components.empty()) {
    at.name = parsed.components.back();
    parsed.components.pop_back();
    at.parent = parsed.Text();
  }
  return at;
}

}  // namespace quarn
