// The steps that the editors of section files (item definitions,
// placements) take alike; only the editor's name ("IDE", "IPL") in their
// keywords and messages differs. The scan of the game's item definitions
// reads its files the same way.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "editing/command.h"
#include "editing/section_file.h"

namespace quarn {

/// The most characters the path of an edited or added file has.
inline constexpr size_t kEditedPathCapacity = 259;

/// The first steps of the opening command `command` ("IDE OPEN", "IPL
/// CREATE", ...) of the `kind` editor: its `argument` must stay inside the
/// game folder; a game folder must be known; no file may be open yet.
/// Fails the run with the matching message otherwise.
CommandResult BeginOpening(RunContext& ctx, const EditedSectionFile& editor,
                           const std::string& kind, const std::string& command,
                           const std::string& argument);

/// The full path of the game file `argument` names, in `*path`. A path
/// too long to keep whole would name another file, and fails the run.
CommandResult EditedFilePath(RunContext& ctx, const std::string& argument,
                             const std::string& command, std::string* path);

/// Makes `path` the edited file: logs "Opening <kind> file: <path> ... ",
/// reads it into `*bytes` and empties the lists. Fails the run with "File
/// not found" or "Can't access file".
CommandResult OpenForEditing(RunContext& ctx, EditedSectionFile& editor,
                             const std::string& kind, const std::string& path,
                             std::string* bytes);

/// The last step of an opening command that went well: completes its line
/// with "ok" and marks the file open.
CommandResult FinishOpening(RunContext& ctx, EditedSectionFile& editor);

/// The checks before a command that needs an open file does anything:
/// fails the run when no game folder is known or no file is open.
CommandResult RequireOpenFile(RunContext& ctx, const EditedSectionFile& editor,
                              const std::string& kind);

/// The "<kind> ADDFILE " command up to its reading: logs "Adding from
/// <kind> file: " and the path of the mod file `argument` names, and reads
/// it into `*bytes`. Fails when no file is open, or with "File not found"
/// or "Can't access file".
CommandResult ReadAddedFile(RunContext& ctx, const EditedSectionFile& editor,
                            const std::string& kind,
                            const std::string& argument, std::string* bytes);

/// Appends `line` to `list`, failing the run with "ERROR: <kind> editor out
/// of memory" when the list is full.
CommandResult AppendOrFail(RunContext& ctx, SectionList& list,
                           const std::string& line, const std::string& kind);

/// Called for every line a deleting command deletes, with its section.
using DeletedLineHandler =
    std::function<void(size_t section, const std::string& line)>;

/// The "<kind> DEL " command: logs "Deleting <kind> entry: " and the search
/// text, then deletes every matching line of the searched sections (one
/// when `argument` begins with a keyword and a blank, else all in order),
/// handing each to `on_deleted`. Fails when no file is open or the search
/// is "*" alone.
CommandResult RunSectionDelete(RunContext& ctx, EditedSectionFile& editor,
                               const std::string& kind,
                               const std::vector<std::string>& keywords,
                               const std::string& argument,
                               const DeletedLineHandler& on_deleted);

/// The "<kind> CLOSE" command: logs "Rewriting <kind> file: <path> ... ",
/// replaces the file with `blocks` and completes the line with `done`, or
/// fails with "failed" leaving the file as it was.
CommandResult RunSectionClose(RunContext& ctx, EditedSectionFile& editor,
                              const std::string& kind,
                              const std::vector<SectionBlock>& blocks,
                              const std::string& done);

}  // namespace quarn
