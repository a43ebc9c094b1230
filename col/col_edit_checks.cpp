#include "col/col_edit_checks.h"

namespace quarn {

CommandResult CheckColOpenInGame(RunContext& ctx, const OpenColFile& col) {
  QUARN_RETURN_IF_ENDED(RequireGamePath(ctx));
  if (!col.IsOpen) return Fail(ctx, "ERROR: COL file not open");
  return CommandResult::kContinue;
}

}  // namespace quarn
