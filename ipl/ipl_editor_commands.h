// The script commands that edit or make one item-placement file.
#pragma once

#include "script/command.h"
#include "script/install_context.h"

namespace quarn {

/// "IPL OPEN <game file>": loads an existing placement file.
CommandResult RunIplOpen(InstallContext& ctx);

/// "IPL CREATE <game file>": starts an empty file that IPL CLOSE makes (or
/// replaces, unread).
CommandResult RunIplCreate(InstallContext& ctx);

/// "IPL ADD <section> <line>": appends one line to a section.
CommandResult RunIplAdd(InstallContext& ctx);

/// "IPL ADDFILE <mod file>": appends every line of a file of the mod.
CommandResult RunIplAddFile(InstallContext& ctx);

/// "IPL DEL [<section> ]<search>": deletes the matching lines.
CommandResult RunIplDel(InstallContext& ctx);

/// "IPL CLOSE": writes the file, its pick section before its path section.
CommandResult RunIplClose(InstallContext& ctx);

}  // namespace quarn
