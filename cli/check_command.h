// quarn check: will the game in a folder still start?
#pragma once

#include <cstdio>

#include "cli/command_line.h"
#include "platform/file_system.h"

namespace quarn {

/// Checks the game folder `line` names (with the limits of its limits file,
/// if any) and prints the report on `out`. Returns 0 when the game would
/// load cleanly, 1 when it would crash or fail to load, 2 when it would
/// load but drop or replace something; 64 after a line on `err` for a
/// folder without gta-vc.exe or a bad limits file.
int CheckGameFolder(const CommandLine& line, FileSystem& fs, FILE* out,
                    FILE* err);

}  // namespace quarn
