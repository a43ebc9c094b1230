// The script commands that edit one item-definition file while keeping the
// object ID registry up to date, so that no ID is ever claimed twice.
#pragma once

#include "editing/command.h"
#include "ide/ide_state.h"

namespace quarn {

/// "IDE OPEN <game file>": scans the game's IDE files the first time, then
/// loads the file, claiming its definitions' IDs (unchecked when the file
/// was read before in this run).
CommandResult RunIdeOpen(RunContext& ctx, IdeState& ide,
                         const Command& command);

/// "IDE ADD <section> <line>": appends one definition, claiming its ID in
/// the six sections that have IDs.
CommandResult RunIdeAdd(RunContext& ctx, IdeState& ide, const Command& command);

/// "IDE ADDFILE <mod file>": appends every definition of a file of the mod,
/// each ID checked.
CommandResult RunIdeAddFile(RunContext& ctx, IdeState& ide,
                            const Command& command);

/// "IDE DEL [<section> ]<search>": deletes the matching definitions and
/// frees the IDs they claimed.
CommandResult RunIdeDel(RunContext& ctx, IdeState& ide, const Command& command);

/// "IDE CLOSE": rewrites the file in the layout it was opened with.
CommandResult RunIdeClose(RunContext& ctx, IdeState& ide,
                          const Command& command);

}  // namespace quarn
