#include "script/section_editor.h"

#include "platform/game_file.h"
#include "script/contained_path.h"
#include "text/ascii.h"

namespace quarn {
namespace {

// The checks before a command that needs an open file does anything.
CommandResult RequireOpenFile(InstallContext& ctx,
                              const EditedSectionFile& editor,
                              const std::string& kind) {
  if (RequireGamePath(ctx) == CommandResult::kEndRun) {
    return CommandResult::kEndRun;
  }
  if (!editor.IsOpen) return Fail(ctx, "ERROR: " + kind + " file not open");
  return CommandResult::kContinue;
}

// The part of the line after "<kind> <word> ".
std::string ArgumentAfterWord(const InstallContext& ctx,
                              const std::string& kind,
                              const std::string& word) {
  return ArgumentAfter(ctx, kind.size() + word.size() + 2);
}

}  // namespace

CommandResult ReadGameFileOrFail(InstallContext& ctx, const std::string& path,
                                 const char* missing, std::string* bytes) {
  switch (ReadGameFile(ctx.Fs, path, bytes)) {
    case GameFileRead::kOkay:
      return CommandResult::kContinue;
    case GameFileRead::kMissing:
      return Fail(ctx, missing);
    case GameFileRead::kInaccessible:
      break;
  }
  return Fail(ctx, "Can't access file");
}

CommandResult RequireGamePath(InstallContext& ctx) {
  if (ctx.GamePath.empty()) return Fail(ctx, "Install path unknown");
  return CommandResult::kContinue;
}

CommandResult BeginOpening(InstallContext& ctx, const EditedSectionFile& editor,
                           const std::string& kind, const std::string& command,
                           std::string* argument) {
  ctx.CommandRecognised = true;
  *argument = ArgumentAfter(ctx, command.size() + 1);
  const std::string error = ContainedPathError(*argument, command);
  if (!error.empty()) return Fail(ctx, error);
  if (RequireGamePath(ctx) == CommandResult::kEndRun) {
    return CommandResult::kEndRun;
  }
  if (editor.IsOpen) return Fail(ctx, "ERROR: " + kind + " file already open");
  return CommandResult::kContinue;
}

CommandResult EditedFilePath(InstallContext& ctx, const std::string& argument,
                             const std::string& command, std::string* path) {
  *path = ctx.GamePath + argument;
  // Cut, "x.ipl.new" could become "x.ipl", and the closing command would
  // overwrite a file the script never named.
  if (path->size() > kEditedPathCapacity) {
    return Fail(ctx, "Path too long in " + command + ": " + *path);
  }
  return CommandResult::kContinue;
}

CommandResult OpenForEditing(InstallContext& ctx, EditedSectionFile& editor,
                             const std::string& kind, const std::string& path,
                             std::string* bytes) {
  editor.Path = path;
  ctx.Log.LogText("Opening " + kind + " file: " + path + " ... ");
  if (ReadGameFileOrFail(ctx, path, "File not found", bytes) ==
      CommandResult::kEndRun) {
    return CommandResult::kEndRun;
  }
  editor.ClearSections();
  return CommandResult::kContinue;
}

CommandResult TakeAddedLine(InstallContext& ctx,
                            const EditedSectionFile& editor,
                            const std::string& kind,
                            const std::vector<std::string>& keywords,
                            SectionArgument* added) {
  ctx.CommandRecognised = true;
  if (RequireOpenFile(ctx, editor, kind) == CommandResult::kEndRun) {
    return CommandResult::kEndRun;
  }
  // The dispatch matched "<kind> ADD <keyword> ", so a section is named.
  *added = SplitSectionArgument(ArgumentAfterWord(ctx, kind, "ADD"), keywords);
  return CommandResult::kContinue;
}

CommandResult ReadAddedFile(InstallContext& ctx,
                            const EditedSectionFile& editor,
                            const std::string& kind, std::string* bytes) {
  ctx.CommandRecognised = true;
  if (RequireOpenFile(ctx, editor, kind) == CommandResult::kEndRun) {
    return CommandResult::kEndRun;
  }
  const std::string path =
      CutTo(ctx.ModPath + ArgumentAfterWord(ctx, kind, "ADDFILE"),
            kEditedPathCapacity);
  ctx.Log.LogLine("Adding from " + kind + " file: " + path);
  return ReadGameFileOrFail(ctx, path, "File not found", bytes);
}

CommandResult AppendOrFail(InstallContext& ctx, SectionList& list,
                           const std::string& line, const std::string& kind) {
  if (list.Append(line)) return CommandResult::kContinue;
  return Fail(ctx, "ERROR: " + kind + " editor out of memory");
}

CommandResult RunSectionDelete(InstallContext& ctx, EditedSectionFile& editor,
                               const std::string& kind,
                               const std::vector<std::string>& keywords,
                               const DeletedLineHandler& on_deleted) {
  ctx.CommandRecognised = true;
  if (RequireGamePath(ctx) == CommandResult::kEndRun) {
    return CommandResult::kEndRun;
  }
  ctx.Log.LogText("Deleting " + kind + " entry: ");
  if (!editor.IsOpen) {
    ctx.Log.LogLine(" ");
    return Fail(ctx, "ERROR: " + kind + " file not open");
  }
  const SectionArgument search =
      SplitSectionArgument(ArgumentAfterWord(ctx, kind, "DEL"), keywords);
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

CommandResult RunSectionClose(InstallContext& ctx, EditedSectionFile& editor,
                              const std::string& kind,
                              const std::vector<SectionBlock>& blocks,
                              const std::string& done) {
  ctx.CommandRecognised = true;
  if (RequireGamePath(ctx) == CommandResult::kEndRun) {
    return CommandResult::kEndRun;
  }
  ctx.Log.LogText("Rewriting " + kind + " file: " + editor.Path + " ... ");
  if (!editor.IsOpen) {
    ctx.Log.LogLine(" ");
    return Fail(ctx, "ERROR: " + kind + " file not open");
  }
  if (!ReplaceWholeFile(ctx.Fs, editor.Path, SectionFileBytes(blocks))) {
    return Fail(ctx, "failed");
  }
  editor.IsOpen = false;
  ctx.Log.LogLine(done);
  return CommandResult::kContinue;
}

}  // namespace quarn
