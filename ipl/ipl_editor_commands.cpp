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
    QUARN_RETURN_IF_ENDED(
        AppendOrFail(ctx, editor.Sections[entry.section], entry.text, kKind));
  }
  return CommandResult::kContinue;
}

}  // namespace

CommandResult RunIplOpen(RunContext& ctx, IplEditor& editor,
                         const Command& command) {
  std::string path;
  std::string bytes;
  QUARN_RETURN_IF_ENDED(
      BeginOpening(ctx, editor, kKind, "IPL OPEN", command.argument));
  QUARN_RETURN_IF_ENDED(
      EditedFilePath(ctx, command.argument, "IPL OPEN", &path));
  QUARN_RETURN_IF_ENDED(OpenForEditing(ctx, editor, kKind, path, &bytes));
  QUARN_RETURN_IF_ENDED(AddPlacements(ctx, editor, bytes));
  return FinishOpening(ctx, editor);
}

CommandResult RunIplCreate(RunContext& ctx, IplEditor& editor,
                           const Command& command) {
  std::string path;
  QUARN_RETURN_IF_ENDED(
      BeginOpening(ctx, editor, kKind, "IPL CREATE", command.argument));
  QUARN_RETURN_IF_ENDED(
      EditedFilePath(ctx, command.argument, "IPL CREATE", &path));
  editor.Path = path;
  ctx.Log.LogText("Creating IPL file: " + path + " ... ");
  // A folder of that name counts as existing, so that it is refused here
  // rather than at IPL CLOSE.
  if (ctx.Fs.AttributesOf(path) != kNoSuchFile &&
      !ClearAttributesForAccess(ctx.Fs, path)) {
    return Fail(ctx, "Access denied");
  }
  editor.ClearSections();
  return FinishOpening(ctx, editor);
}

CommandResult RunIplAdd(RunContext& ctx, IplEditor& editor,
                        const Command& command) {
  QUARN_RETURN_IF_ENDED(RequireOpenFile(ctx, editor, kKind));
  return AppendOrFail(ctx, editor.Sections[command.section], command.argument,
                      kKind);
}

CommandResult RunIplAddFile(RunContext& ctx, IplEditor& editor,
                            const Command& command) {
  std::string bytes;
  QUARN_RETURN_IF_ENDED(
      ReadAddedFile(ctx, editor, kKind, command.argument, &bytes));
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
