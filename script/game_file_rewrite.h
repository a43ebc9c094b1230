// How an editor's closing command puts its game file back: the file must
// still be there and accessible, and is then replaced whole, so that a
// failure never leaves half a file.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace quarn {

/// Outcome of rewriting a game file an editor holds in memory.
enum class GameFileRewrite {
  kOkay,
  kMissing,       ///< no longer an ordinary file (gone, hidden or system)
  kInaccessible,  ///< attributes stay set after clearing
  kWriteFailed,   ///< the new content could not be written; the old stays
};

/// Checks that `path` is still an ordinary file, clears its attributes,
/// checks that it is then accessible, and replaces it with `bytes` through
/// a temporary file beside it. The content changes only when kOkay is
/// returned.
GameFileRewrite RewriteGameFile(FileSystem& fs, const std::string& path,
                                const std::string& bytes);

}  // namespace quarn
