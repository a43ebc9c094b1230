#include "col/col_delete.h"

#include "col/col_edit_checks.h"

namespace quarn {
CommandResult RunColDelete(RunContext& ctx, OpenColFile& col,
                           const Command& command) {
  if (EndsRun(CheckColOpenInGame(ctx, col))) {
    return CommandResult::kEndRun;
  }
  const std::string& name = command.argument;
  ctx.Log.LogText("Deleting: " + name + " ... ");
  ctx.Log.LogLine(col.RemoveNamed(name) > 0 ? "ok" : "not found");
  return CommandResult::kContinue;
}

}  // namespace quarn
