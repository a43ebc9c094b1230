#include "col/col_close.h"

#include "col/col_edit_checks.h"
#include "platform/game_file.h"

namespace quarn {

CommandResult RunColClose(RunContext& ctx, OpenColFile& col, const Command&) {
  QUARN_RETURN_IF_ENDED(CheckColOpenInGame(ctx, col));
  ctx.Log.LogText("Rewriting COL file: " + col.Path + " ... ");
  if (!ReplaceWholeFile(ctx.Fs, col.Path, col.FileBytes())) {
    return Fail(ctx, "failed");
  }
  ctx.Log.LogLine("done");
  col.IsOpen = false;
  col.Models.clear();
  return CommandResult::kContinue;
}

}  // namespace quarn
