// COL ADD and COL ADDFILE: copy models from a mod's collision file into the
// open one, replacing models of the same name.
#pragma once

#include "col/open_col_file.h"
#include "editing/command.h"

namespace quarn {

/// "COL ADD <model> FROM <file in the mod folder>": appends every model of
/// that name from the file, after removing the open file's models of the
/// same name; a model the file lacks is logged and the script goes on.
EditorCommand<OpenColFile> RunColAdd;

/// "COL ADDFILE <file in the mod folder>": does the same for every model of
/// the file, in file order.
EditorCommand<OpenColFile> RunColAddFile;

}  // namespace quarn
