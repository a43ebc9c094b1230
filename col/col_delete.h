// COL DELETE: removes models from the open collision file.
#pragma once

#include "col/open_col_file.h"
#include "editing/command.h"

namespace quarn {

/// "COL DELETE <model>": removes every model of that name in any letter
/// case; a name not found is logged and the script goes on.
EditorCommand<OpenColFile> RunColDelete;

}  // namespace quarn
