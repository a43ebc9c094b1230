#include "editing/list_editor.h"

namespace quarn {

CommandResult RequireOpenList(RunContext& ctx, bool is_open,
                              const char* not_open) {
  QUARN_RETURN_IF_ENDED(RequireGamePath(ctx));
  if (!is_open) return Fail(ctx, not_open);
  return CommandResult::kContinue;
}

}  // namespace quarn
