// `quarn list`: the catalogue as the selection page would show it.
#pragma once

#include <cstdio>

#include "cli/command_line.h"
#include "platform/file_system.h"

namespace quarn {

/// Prints one line per catalogue entry of the installer folder in `line`,
/// in install order, with its tick as "saved.dat" leaves it; the scan's
/// messages go to `err`. Returns the exit status.
int ListMods(const CommandLine& line, FileSystem& fs, FILE* out, FILE* err);

}  // namespace quarn
