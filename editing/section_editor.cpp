#include "editing/section_editor.h"

#include "editing/contained_path.h"
#include "editing/edited_game_file.h"
#include "platform/game_file.h"
#include "text/ascii.h"

namespace quarn {
CommandResult RequireOpenFile(RunContext& ctx, const EditedSectionFile& editor,
                              const std::string& kind) {
  QUARN_RETURN_IF_ENDED(RequireGamePath(ctx));
  if (!editor.IsOpen) return Fail(ctx, "ERROR: " + kind + " file not open");
  return CommandResult::kContinue;
}

CommandResult BeginOpening(RunContext& ctx, const EditedSectionFile& editor,
                           const std::string& kind, const std::string& command,
                           const std::string& argument) {
  const std::string error = ContainedPathError(argument, command);
  if (!error.empty()) return Fail(ctx, error);
  QUARN_RETURN_IF_ENDED(RequireGamePath(ctx));
  if (editor.IsOpen) return Fail(ctx, "ERROR: " + kind + " file already open");
  return CommandResult::kContinue;
}

CommandResult EditedFilePath(RunContext& ctx, const std::string& argument,
                             const std::string& command, std::string* path) {
  *path = ctx.GamePath + argument;
  // Cut, "x.ipl.new" could become "x.ipl", and the closing command would
  // overwrite a file the script never named.
  if (path->size() > kEditedPathCapacity) {
    return Fail(ctx, "Path too long in " + command + ": " + *path);
  }
  return CommandResult::kContinue;
}

CommandResult OpenForEditing(RunContext& ctx, EditedSectionFile& editor,
                             const std::string& kind, const std::string& path,
                             std::string* bytes) {
  editor.Path = path;
  ctx.Log.LogText("Opening " + kind + " file: " + path + " ... ");
  QUARN_RETURN_IF_ENDED(ReadEditedFile(ctx, path, "File not found", bytes));
  editor.ClearSections();
  return CommandResult::kContinue;
}

CommandResult FinishOpening(RunContext& ctx, EditedSectionFile& editor) {
  ctx.Log.LogLine("ok");
  editor.IsOpen = true;
  return CommandResult::kContinue;
}

CommandResult ReadAddedFile(RunContext& ctx, const EditedSectionFile& editor,
                            const std::string& kind,
                            const std::string& argument, std::string* bytes) {
  QUARN_RETURN_IF_ENDED(RequireOpenFile(ctx, editor, kind));
  const std::string path = CutTo(ctx.ModPath + argument, kEditedPathCapacity);
  ctx.Log.LogLine("Adding from " + kind + " file: " + path);
  return ReadEditedFile(ctx, path, "File not found", bytes);
}

CommandResult AppendOrFail(RunContext& ctx, SectionList& list,
                           const std::string& line, const std::string& kind) {
  if (list.Append(line)) return CommandResult::kContinue;
  return Fail(ctx, "ERROR: " + kind + " editor out of memory");
}

CommandResult RunSectionDelete(RunContext& ctx, EditedSectionFile& editor,
                               const std::string& kind,
                               const std::vector<std::string>& keywords,
                               const std::string& argument,
                               const DeletedLineHandler& on_deleted) {
  QUARN_RETURN_IF_ENDED(RequireGamePath(ctx));
  ctx.Log.LogText("Deleting " + kind + " entry: ");
  if (!editor.IsOpen) {
    return FailOnNewLine(ctx, "ERROR: " + kind + " file not open");
  }
  const SectionArgument search = SplitSectionArgument(argument, keywords);
  ctx.Log.LogLine(search.text);
  if (!IsValidSearch(search.text)) return Fail(ctx, "Invalid search string");
  for (size_t i = 0; i < editor.Sections.size(); ++i) {
    if (!search.all_sections && i != search.section) continue;
    for (const std::string& line : editor.Sections[i].Delete(search.text)) {
      on_deleted(i, line);
    }
  }
  return CommandResult::kContinue;
}

CommandResult RunSectionClose(RunContext& ctx, EditedSectionFile& editor,
                              const std::string& kind,
                              const std::vector<SectionBlock>& blocks,
                              const std::string& done) {
  QUARN_RETURN_IF_ENDED(RequireGamePath(ctx));
  ctx.Log.LogText("Rewriting " + kind + " file: " + editor.Path + " ... ");
  if (!editor.IsOpen) {
    return FailOnNewLine(ctx, "ERROR: " + kind + " file not open");
  }
  if (!ReplaceWholeFile(ctx.Fs, editor.Path, SectionFileBytes(blocks))) {
    return Fail(ctx, "failed");
  }
  editor.IsOpen = false;
  ctx.Log.LogLine(done);
  return CommandResult::kContinue;
}

}  // namespace quarn
