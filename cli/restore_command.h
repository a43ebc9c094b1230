// `quarn restore`: "Use backup" without windows.
#pragma once

#include <cstdio>

#include "cli/command_line.h"
#include "platform/file_system.h"

namespace quarn {

/// Restores the game folder in `line` from its backup folders, printing
/// every message on `out` (progress on `err` when it is a terminal).
/// Returns 0 when every copy was made, 1 otherwise.
int RestoreGame(const CommandLine& line, FileSystem& fs, FILE* out, FILE* err);

}  // namespace quarn
