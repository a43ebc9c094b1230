#include "gamelists/list_editor.h"

namespace quarn {

bool ListCommandMayRun(InstallContext& ctx, bool is_open,
                       const char* not_open) {
  ctx.CommandRecognised = true;
  const char* problem = ctx.GamePath.empty() ? "Install path unknown"
                        : is_open            ? nullptr
                                             : not_open;
  if (problem != nullptr) ctx.Log.LogLine(problem);
  return problem == nullptr;
}

}  // namespace quarn
