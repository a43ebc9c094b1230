// The script commands that edit or make one item-placement file.
#pragma once

#include "editing/command.h"
#include "ipl/ipl_editor.h"

namespace quarn {

/// "IPL OPEN <game file>": loads an existing placement file.
EditorCommand<IplEditor> RunIplOpen;

/// "IPL CREATE <game file>": starts an empty file that IPL CLOSE makes (or
/// replaces, unread).
EditorCommand<IplEditor> RunIplCreate;

/// "IPL ADD <section> <line>": appends one line to a section.
EditorCommand<IplEditor> RunIplAdd;

/// "IPL ADDFILE <mod file>": appends every line of a file of the mod.
EditorCommand<IplEditor> RunIplAddFile;

/// "IPL DEL [<section> ]<search>": deletes the matching lines.
EditorCommand<IplEditor> RunIplDel;

/// "IPL CLOSE": writes the file, its pick section before its path section.
EditorCommand<IplEditor> RunIplClose;

}  // namespace quarn
