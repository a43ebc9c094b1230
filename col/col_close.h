// COL CLOSE: writes the open collision file back and closes it.
#pragma once

#include "col/open_col_file.h"
#include "editing/command.h"

namespace quarn {

/// "COL CLOSE": replaces the file with its models as they are now, each
/// byte for byte as read, through a temporary file so that a failed write
/// leaves the old file whole.
EditorCommand<OpenColFile> RunColClose;

}  // namespace quarn
