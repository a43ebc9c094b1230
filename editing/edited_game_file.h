// The steps every editor of a game file takes at its opening and closing
// commands: the same checks, a whole read, and a rewrite that never leaves
// half a file. Each failure is logged with the message that completes the
// editor's "Opening" or "Rewriting" line, and ends the run.
#pragma once

#include <string>

#include "editing/command.h"

namespace quarn {

/// Reads `path` whole into `*bytes` for an editor's opening command. Fails
/// the run with `missing` (no ordinary file of that name) or "Can't access
/// file" (attributes stay set after clearing, or it won't open).
CommandResult ReadEditedFile(RunContext& ctx, const std::string& path,
                             const char* missing, std::string* bytes);

/// What an editor's closing command logs when its file is no longer an
/// ordinary file, or stays locked after its attributes were cleared.
struct RewriteMessages {
  const char* missing;
  const char* inaccessible;
};

/// Checks that `path` is still an ordinary, accessible file and replaces it
/// with `bytes` through a temporary file beside it. Fails the run with the
/// matching message, or "Can't rewrite file" when the new content could not
/// be written; `path` then keeps its old content.
CommandResult RewriteEditedFile(RunContext& ctx, const std::string& path,
                                const std::string& bytes,
                                const RewriteMessages& messages);

}  // namespace quarn
