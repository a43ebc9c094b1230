// `quarn undo` and `quarn history`: the game's undo journal as the player
// uses it.
#pragma once

#include <cstdio>

#include "cli/command_line.h"
#include "platform/file_system.h"

namespace quarn {

/// Puts the game of `line` back as it was before its newest install (or
/// before its newest `undo_mods` mods), printing each path put back on
/// `out` and a summary line. Returns the exit status.
int UndoInstall(const CommandLine& line, FileSystem& fs, FILE* out, FILE* err);

/// Lists the game's journal entries newest first on `out`, or drops them
/// all with --forget. Returns the exit status.
int ShowHistory(const CommandLine& line, FileSystem& fs, FILE* out, FILE* err);

}  // namespace quarn
