#include "script/edited_game_file.h"

#include "platform/existence.h"
#include "platform/game_file.h"

namespace quarn {

bool ReadEditedFile(InstallContext& ctx, const std::string& path,
                    const char* missing, std::string* bytes) {
  switch (ReadGameFile(ctx.Fs, path, bytes)) {
    case GameFileRead::kMissing:
      ctx.Log.LogLine(missing);
      return false;
    case GameFileRead::kInaccessible:
      ctx.Log.LogLine("Can't access file");
      return false;
    case GameFileRead::kOkay:
      break;
  }
  return true;
}

bool RewriteEditedFile(InstallContext& ctx, const std::string& path,
                       const std::string& bytes,
                       const RewriteMessages& messages) {
  const char* problem = nullptr;
  if (!IsOrdinaryFile(ctx.Fs, path)) {
    problem = messages.missing;
  } else if (!ClearAttributesForAccess(ctx.Fs, path)) {
    problem = messages.inaccessible;
  } else if (!ReplaceWholeFile(ctx.Fs, path, bytes)) {
    problem = "Can't rewrite file";
  }
  if (problem != nullptr) ctx.Log.LogLine(problem);
  return problem == nullptr;
}

}  // namespace quarn
