// COL ADD and COL ADDFILE: copy models from a mod's collision file into the
// open one, replacing models of the same name.
#pragma once

#include "script/command.h"

namespace quarn {

/// "COL ADD <model> FROM <file in the mod folder>": appends every model of
/// that name from the file, after removing the open file's models of the
/// same name; a model the file lacks is logged and the script goes on.
CommandResult RunColAdd(InstallContext& ctx);

/// "COL ADDFILE <file in the mod folder>": does the same for every model of
/// the file, in file order.
CommandResult RunColAddFile(InstallContext& ctx);

}  // namespace quarn
