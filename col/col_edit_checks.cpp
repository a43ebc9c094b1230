#include "col/col_edit_checks.h"

namespace quarn {

CommandResult CheckColOpenInGame(InstallContext& ctx) {
  if (ctx.GamePath.empty()) return Fail(ctx, "Install path unknown");
  if (!ctx.Col.IsOpen) return Fail(ctx, "ERROR: COL file not open");
  return CommandResult::kContinue;
}

}  // namespace quarn
