#include "editing/edited_game_file.h"

#include "platform/existence.h"
#include "platform/game_file.h"

namespace quarn {

CommandResult ReadEditedFile(RunContext& ctx, const std::string& path,
                             const char* missing, std::string* bytes) {
  switch (ReadGameFile(ctx.Fs, path, bytes)) {
    case GameFileRead::kMissing:
      return Fail(ctx, missing);
    case GameFileRead::kInaccessible:
      return Fail(ctx, "Can't access file");
    case GameFileRead::kOkay:
      break;
  }
  return CommandResult::kContinue;
}

CommandResult RewriteEditedFile(RunContext& ctx, const std::string& path,
                                const std::string& bytes,
                                const RewriteMessages& messages) {
  if (!IsOrdinaryFile(ctx.Fs, path)) return Fail(ctx, messages.missing);
  if (!ClearAttributesForAccess(ctx.Fs, path)) {
    return Fail(ctx, messages.inaccessible);
  }
  if (!ReplaceWholeFile(ctx.Fs, path, bytes)) {
    return Fail(ctx, "Can't rewrite file");
  }
  return CommandResult::kContinue;
}

}  // namespace quarn
