#include "script/game_file_rewrite.h"

#include "platform/existence.h"
#include "platform/game_file.h"

namespace quarn {

GameFileRewrite RewriteGameFile(FileSystem& fs, const std::string& path,
                                const std::string& bytes) {
  if (!IsOrdinaryFile(fs, path)) return GameFileRewrite::kMissing;
  if (!ClearAttributesForAccess(fs, path)) {
    return GameFileRewrite::kInaccessible;
  }
  if (!ReplaceWholeFile(fs, path, bytes)) return GameFileRewrite::kWriteFailed;
  return GameFileRewrite::kOkay;
}

}  // namespace quarn
