// The script commands that edit one item-definition file while keeping the
// object ID registry up to date, so that no ID is ever claimed twice.
#pragma once

#include "editing/command.h"
#include "ide/ide_state.h"

namespace quarn {

/// "IDE OPEN <game file>": scans the game's IDE files the first time, then
/// loads the file, claiming its definitions' IDs (unchecked when the file
/// was read before in this run).
EditorCommand<IdeState> RunIdeOpen;

/// "IDE ADD <section> <line>": appends one definition, claiming its ID in
/// the six sections that have IDs.
EditorCommand<IdeState> RunIdeAdd;

/// "IDE ADDFILE <mod file>": appends every definition of a file of the mod,
/// each ID checked.
EditorCommand<IdeState> RunIdeAddFile;

/// "IDE DEL [<section> ]<search>": deletes the matching definitions and
/// frees the IDs they claimed.
EditorCommand<IdeState> RunIdeDel;

/// "IDE CLOSE": rewrites the file in the layout it was opened with.
EditorCommand<IdeState> RunIdeClose;

}  // namespace quarn
