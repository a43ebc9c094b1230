// COL OPEN: loads one of the game's collision files for editing.
#pragma once

#include <cstddef>

#include "col/open_col_file.h"
#include "editing/command.h"

namespace quarn {

/// The longest path, game folder included, a collision file may have.
inline constexpr size_t kColPathCapacity = 259;

/// "COL OPEN <file in the game folder>": reads every model of the file into
/// `col` and logs their names, one line each.
EditorCommand<OpenColFile> RunColOpen;

}  // namespace quarn
