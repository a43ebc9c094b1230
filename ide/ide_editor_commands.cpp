#include "ide/ide_editor_commands.h"

#include <string>
#include <vector>

#include "ide/ide_scan.h"
#include "ide/ide_sections.h"
#include "ide/object_id_of.h"
#include "script/section_editor.h"
#include "text/numbers.h"

namespace quarn {
namespace {

const char kKind[] = "IDE";

// Appends `line` to `section`, claiming its ID where the section has IDs.
// With `check`, an ID already used fails the run.
CommandResult AddDefinition(InstallContext& ctx, IdeSection section,
                            const std::string& line, bool check) {
  if (ClaimsObjectIds(section)) {
    const uint16_t id = ObjectIdOf(line);
    if (check && ctx.ObjectIds.IsUsed(id)) {
      return Fail(ctx,
                  "ERROR: Object ID " + FormatSigned(id) + " already used");
    }
    ctx.ObjectIds.MarkUsed(id);
  }
  return AppendOrFail(ctx, ctx.Ide.Sections[static_cast<size_t>(section)], line,
                      kKind);
}

// Adds every definition of an IDE file's `bytes`. With `takes_layout`, a
// "peds" header makes the file be written in the peds layout.
CommandResult AddDefinitions(InstallContext& ctx, const std::string& bytes,
                             bool check, bool takes_layout) {
  for (const SectionFileEntry& entry :
       ReadSectionFile(bytes, IdeSectionKeywords())) {
    const IdeSection section = static_cast<IdeSection>(entry.section);
    if (entry.kind == SectionFileEntry::kHeader) {
      if (takes_layout && section == IdeSection::kPeds) {
        ctx.Ide.HasPedsSection = true;
      }
      continue;
    }
    if (AddDefinition(ctx, section, entry.text, check) ==
        CommandResult::kEndRun) {
      return CommandResult::kEndRun;
    }
  }
  return CommandResult::kContinue;
}

// The sections IDE CLOSE writes, in order: those of the game's default
// definitions for a file with peds, those of the map files otherwise.
std::vector<IdeSection> WrittenSections(const IdeEditor& editor) {
  using S = IdeSection;
  if (editor.HasPedsSection) {
    return {S::kPeds, S::kCars, S::kObjs, S::kWeap, S::kHier};
  }
  return {S::kObjs, S::kTobj, S::kPath, S::k2dfx};
}

}  // namespace

CommandResult RunIdeOpen(InstallContext& ctx) {
  IdeEditor& editor = ctx.Ide;
  std::string argument;
  if (BeginOpening(ctx, editor, kKind, "IDE OPEN", &argument) ==
      CommandResult::kEndRun) {
    return CommandResult::kEndRun;
  }
  if (!ctx.IdeScanDone && ScanGameIdeFiles(ctx) == CommandResult::kEndRun) {
    return CommandResult::kEndRun;
  }
  std::string path;
  if (EditedFilePath(ctx, argument, "IDE OPEN", &path) ==
      CommandResult::kEndRun) {
    return CommandResult::kEndRun;
  }
  // A file the scan has read claims its own IDs again without a conflict.
  const bool already_scanned = ctx.ScannedIdeList.Contains(path);
  ctx.ScannedIdeList.Append(path);
  std::string bytes;
  if (OpenForEditing(ctx, editor, kKind, path, &bytes) ==
      CommandResult::kEndRun) {
    return CommandResult::kEndRun;
  }
  editor.HasPedsSection = false;
  if (AddDefinitions(ctx, bytes, !already_scanned, true) ==
      CommandResult::kEndRun) {
    return CommandResult::kEndRun;
  }
  ctx.Log.LogLine("ok");
  editor.IsOpen = true;
  return CommandResult::kContinue;
}

CommandResult RunIdeAdd(InstallContext& ctx) {
  SectionArgument added;
  if (TakeAddedLine(ctx, ctx.Ide, kKind, IdeSectionKeywords(), &added) ==
      CommandResult::kEndRun) {
    return CommandResult::kEndRun;
  }
  return AddDefinition(ctx, static_cast<IdeSection>(added.section), added.text,
                       true);
}

CommandResult RunIdeAddFile(InstallContext& ctx) {
  std::string bytes;
  if (ReadAddedFile(ctx, ctx.Ide, kKind, &bytes) == CommandResult::kEndRun) {
    return CommandResult::kEndRun;
  }
  return AddDefinitions(ctx, bytes, true, false);
}

CommandResult RunIdeDel(InstallContext& ctx) {
  // Each deleted definition gives back the ID it claimed, read from the
  // line itself: a search such as "1*" does not name the IDs it deletes.
  return RunSectionDelete(
      ctx, ctx.Ide, kKind, IdeSectionKeywords(),
      [&ctx](size_t section, const std::string& line) {
        if (ClaimsObjectIds(static_cast<IdeSection>(section))) {
          ctx.ObjectIds.MarkFree(ObjectIdOf(line));
        }
      });
}

CommandResult RunIdeClose(InstallContext& ctx) {
  std::vector<SectionBlock> blocks;
  for (IdeSection section : WrittenSections(ctx.Ide)) {
    const size_t index = static_cast<size_t>(section);
    blocks.push_back(
        {IdeSectionKeywords()[index], &ctx.Ide.Sections[index].lines()});
  }
  return RunSectionClose(ctx, ctx.Ide, kKind, blocks, "done");
}

}  // namespace quarn
