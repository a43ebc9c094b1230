// How every editor of a game file reads it at its opening command and writes
// it back at its closing one: the same existence and access checks, and a
// rewrite that never leaves a half-written file behind.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace quarn {

/// Outcome of reading a game file for editing.
enum class GameFileRead {
  kOkay,
  kMissing,       ///< no ordinary file of that name (hidden and system too)
  kInaccessible,  ///< attributes stay set after clearing, or it won't open
};

/// Checks that `path` is an ordinary file, clears its attributes, checks
/// that it is then accessible and reads all of it into `*bytes`.
GameFileRead ReadGameFile(FileSystem& fs, const std::string& path,
                          std::string* bytes);

/// A name beside `path` that nothing uses yet, for a file that will be
/// renamed over `path`: a file of the user's is never overwritten.
std::string FreeTemporaryName(FileSystem& fs, const std::string& path);

/// Writes `bytes` to a new temporary file beside `path`, flushes it and
/// renames it over `path` (which need not exist). On failure `path` keeps
/// its old content and no temporary file stays behind; false then.
bool ReplaceWholeFile(FileSystem& fs, const std::string& path,
                      const std::string& bytes);

}  // namespace quarn
