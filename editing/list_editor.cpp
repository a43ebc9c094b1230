#include "editing/list_editor.h"

namespace quarn {

CommandResult RequireOpenList(RunContext& ctx, bool is_open,
                              const char* not_open) {
  if (EndsRun(RequireGamePath(ctx))) return CommandResult::kEndRun;
  if (!is_open) return Fail(ctx, not_open);
  return CommandResult::kContinue;
}

}  // namespace quarn
