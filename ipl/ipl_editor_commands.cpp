#include "ipl/ipl_editor_commands.h"

#include <string>
#include <vector>

#include "editing/section_editor.h"
#include "ipl/ipl_editor.h"
#include "platform/existence.h"

namespace quarn {
namespace {

const char kKind[] = "IPL";

// Appends the lines of an IPL file's `bytes` to their sections.
CommandResult AddPlacements(RunContext& ctx, IplEditor& editor,
                            const std::string& bytes) {
  for (const SectionFileEntry& entry :
       ReadSectionFile(bytes, IplSectionKeywords())) {
    if (entry.kind != SectionFileEntry::kLine) continue;
    if (EndsRun(AppendOrFail(ctx, editor.Sections[entry.section], entry.text,
                             kKind))) {
      return CommandResult::kEndRun;
    }
  }
  return CommandResult::kContinue;
}

}  // namespace

CommandResult RunIplOpen(RunContext& ctx, IplEditor& editor,
                         const Command& command) {
  std::string path;
  std::string bytes;
  if (EndsRun(BeginOpening(ctx, editor, kKind, "IPL OPEN", command.argument)) ||
      EndsRun(EditedFilePath(ctx, command.argument, "IPL OPEN", &path)) ||
      EndsRun(OpenForEditing(ctx, editor, kKind, path, &bytes)) ||
      EndsRun(AddPlacements(ctx, editor, bytes))) {
    return CommandResult::kEndRun;
  }
  ctx.Log.LogLine("ok");
  editor.IsOpen = true;
  return CommandResult::kContinue;
}

CommandResult RunIplCreate(RunContext& ctx, IplEditor& editor,
                           const Command& command) {
  std::string path;
  if (EndsRun(
          BeginOpening(ctx, editor, kKind, "IPL CREATE", command.argument)) ||
      EndsRun(EditedFilePath(ctx, command.argument, "IPL CREATE", &path))) {
    return CommandResult::kEndRun;
  }
  editor.Path = path;
  ctx.Log.LogText("Creating IPL file: " + path + " ... ");
  // A folder of that name counts as existing, so that it is refused here
  // rather than at IPL CLOSE.
  if (ctx.Fs.AttributesOf(path) != kNoSuchFile &&
      !ClearAttributesForAccess(ctx.Fs, path)) {
    return Fail(ctx, "Access denied");
  }
  editor.ClearSections();
  ctx.Log.LogLine("ok");
  editor.IsOpen = true;
  return CommandResult::kContinue;
}

CommandResult RunIplAdd(RunContext& ctx, IplEditor& editor,
                        const Command& command) {
  if (EndsRun(RequireOpenFile(ctx, editor, kKind))) {
    return CommandResult::kEndRun;
  }
  return AppendOrFail(ctx, editor.Sections[command.section], command.argument,
                      kKind);
}

CommandResult RunIplAddFile(RunContext& ctx, IplEditor& editor,
                            const Command& command) {
  std::string bytes;
  if (EndsRun(ReadAddedFile(ctx, editor, kKind, command.argument, &bytes))) {
    return CommandResult::kEndRun;
  }
  return AddPlacements(ctx, editor, bytes);
}

CommandResult RunIplDel(RunContext& ctx, IplEditor& editor,
                        const Command& command) {
  return RunSectionDelete(ctx, editor, kKind, IplSectionKeywords(),
                          command.argument, [](size_t, const std::string&) {});
}

CommandResult RunIplClose(RunContext& ctx, IplEditor& editor, const Command&) {
  std::vector<SectionBlock> blocks;
  for (IplSection section : {IplSection::kInst, IplSection::kCull,
                             IplSection::kPick, IplSection::kPath}) {
    const size_t index = static_cast<size_t>(section);
    blocks.push_back(
        {IplSectionKeywords()[index], &editor.Sections[index].lines()});
  }
  return RunSectionClose(ctx, editor, kKind, blocks, "ok");
}

}  // namespace quarn
