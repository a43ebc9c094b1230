#include "ipl/ipl_editor_commands.h"

#include <string>
#include <vector>

#include "ipl/ipl_editor.h"
#include "platform/existence.h"
#include "script/section_editor.h"

namespace quarn {
namespace {

const char kKind[] = "IPL";

// Appends the lines of an IPL file's `bytes` to their sections.
CommandResult AddPlacements(InstallContext& ctx, const std::string& bytes) {
  for (const SectionFileEntry& entry :
       ReadSectionFile(bytes, IplSectionKeywords())) {
    if (entry.kind != SectionFileEntry::kLine) continue;
    if (AppendOrFail(ctx, ctx.Ipl.Sections[entry.section], entry.text, kKind) ==
        CommandResult::kEndRun) {
      return CommandResult::kEndRun;
    }
  }
  return CommandResult::kContinue;
}

}  // namespace

CommandResult RunIplOpen(InstallContext& ctx) {
  IplEditor& editor = ctx.Ipl;
  std::string argument;
  std::string path;
  std::string bytes;
  if (BeginOpening(ctx, editor, kKind, "IPL OPEN", &argument) ==
          CommandResult::kEndRun ||
      EditedFilePath(ctx, argument, "IPL OPEN", &path) ==
          CommandResult::kEndRun ||
      OpenForEditing(ctx, editor, kKind, path, &bytes) ==
          CommandResult::kEndRun ||
      AddPlacements(ctx, bytes) == CommandResult::kEndRun) {
    return CommandResult::kEndRun;
  }
  ctx.Log.LogLine("ok");
  editor.IsOpen = true;
  return CommandResult::kContinue;
}

CommandResult RunIplCreate(InstallContext& ctx) {
  IplEditor& editor = ctx.Ipl;
  std::string argument;
  std::string path;
  if (BeginOpening(ctx, editor, kKind, "IPL CREATE", &argument) ==
          CommandResult::kEndRun ||
      EditedFilePath(ctx, argument, "IPL CREATE", &path) ==
          CommandResult::kEndRun) {
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

CommandResult RunIplAdd(InstallContext& ctx) {
  SectionArgument added;
  if (TakeAddedLine(ctx, ctx.Ipl, kKind, IplSectionKeywords(), &added) ==
      CommandResult::kEndRun) {
    return CommandResult::kEndRun;
  }
  return AppendOrFail(ctx, ctx.Ipl.Sections[added.section], added.text, kKind);
}

CommandResult RunIplAddFile(InstallContext& ctx) {
  std::string bytes;
  if (ReadAddedFile(ctx, ctx.Ipl, kKind, &bytes) == CommandResult::kEndRun) {
    return CommandResult::kEndRun;
  }
  return AddPlacements(ctx, bytes);
}

CommandResult RunIplDel(InstallContext& ctx) {
  return RunSectionDelete(ctx, ctx.Ipl, kKind, IplSectionKeywords(),
                          [](size_t, const std::string&) {});
}

CommandResult RunIplClose(InstallContext& ctx) {
  std::vector<SectionBlock> blocks;
  for (IplSection section : {IplSection::kInst, IplSection::kCull,
                             IplSection::kPick, IplSection::kPath}) {
    const size_t index = static_cast<size_t>(section);
    blocks.push_back(
        {IplSectionKeywords()[index], &ctx.Ipl.Sections[index].lines()});
  }
  return RunSectionClose(ctx, ctx.Ipl, kKind, blocks, "ok");
}

}  // namespace quarn
