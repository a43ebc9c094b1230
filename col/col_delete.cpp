#include "col/col_delete.h"

#include "col/col_edit_checks.h"

namespace quarn {
CommandResult RunColDelete(RunContext& ctx, OpenColFile& col,
                           const Command& command) {
  QUARN_RETURN_IF_ENDED(CheckColOpenInGame(ctx, col));
  const std::string& name = command.argument;
  ctx.Log.LogText("Deleting: " + name + " ... ");
  ctx.Log.LogLine(col.RemoveNamed(name) > 0 ? "ok" : "not found");
  return CommandResult::kContinue;
}

}  // namespace quarn
