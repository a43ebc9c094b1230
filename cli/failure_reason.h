// The line that tells, after a failed run, why the file operation that made
// it fail did: the log says what failed, this says why.
#pragma once

#include <string>

#include "platform/fs_error.h"

namespace quarn {

/// "path: reason" for `error`, with the path relative to `game_folder`
/// (engine form ending in a backslash, or empty) when it lies inside it and
/// as the engine spelled it otherwise; empty when `error` records nothing.
std::string FailureReasonLine(const FsError& error,
                              const std::string& game_folder);

}  // namespace quarn
