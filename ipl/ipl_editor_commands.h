// The script commands that edit or make one item-placement file.
#pragma once

#include "editing/command.h"
#include "ipl/ipl_editor.h"

namespace quarn {

/// "IPL OPEN <game file>": loads an existing placement file.
CommandResult RunIplOpen(RunContext& ctx, IplEditor& editor,
                         const Command& command);

/// "IPL CREATE <game file>": starts an empty file that IPL CLOSE makes (or
/// replaces, unread).
CommandResult RunIplCreate(RunContext& ctx, IplEditor& editor,
                           const Command& command);

/// "IPL ADD <section> <line>": appends one line to a section.
CommandResult RunIplAdd(RunContext& ctx, IplEditor& editor,
                        const Command& command);

/// "IPL ADDFILE <mod file>": appends every line of a file of the mod.
CommandResult RunIplAddFile(RunContext& ctx, IplEditor& editor,
                            const Command& command);

/// "IPL DEL [<section> ]<search>": deletes the matching lines.
CommandResult RunIplDel(RunContext& ctx, IplEditor& editor,
                        const Command& command);

/// "IPL CLOSE": writes the file, its pick section before its path section.
CommandResult RunIplClose(RunContext& ctx, IplEditor& editor,
                          const Command& command);

}  // namespace quarn
