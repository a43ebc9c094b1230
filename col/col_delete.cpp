#include "col/col_delete.h"

#include "col/col_edit_checks.h"

namespace quarn {
namespace {

constexpr size_t kKeywordLength = 11;  // "COL DELETE "

}  // namespace

CommandResult RunColDelete(InstallContext& ctx) {
  ctx.CommandRecognised = true;
  if (CheckColOpenInGame(ctx) == CommandResult::kEndRun) {
    return CommandResult::kEndRun;
  }
  const std::string name = ArgumentAfter(ctx, kKeywordLength);
  ctx.Log.LogText("Deleting: " + name + " ... ");
  ctx.Log.LogLine(ctx.Col.RemoveNamed(name) > 0 ? "ok" : "not found");
  return CommandResult::kContinue;
}

}  // namespace quarn
