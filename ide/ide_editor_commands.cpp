#include "ide/ide_editor_commands.h"

#include <string>
#include <vector>

#include "editing/section_editor.h"
#include "ide/ide_scan.h"
#include "ide/ide_sections.h"
#include "ide/object_id_of.h"
#include "text/numbers.h"

namespace quarn {
namespace {

const char kKind[] = "IDE";

// Appends `line` to `section`, claiming its ID where the section has IDs.
// With `check`, an ID already used fails the run.
CommandResult AddDefinition(RunContext& ctx, IdeState& ide, IdeSection section,
                            const std::string& line, bool check) {
  if (ClaimsObjectIds(section)) {
    const uint16_t id = ObjectIdOf(line);
    if (check && ide.ObjectIds.IsUsed(id)) {
      return Fail(ctx,
                  "ERROR: Object ID " + FormatSigned(id) + " already used");
    }
    ide.ObjectIds.MarkUsed(id);
  }
  return AppendOrFail(ctx, ide.Ide.Sections[static_cast<size_t>(section)], line,
                      kKind);
}

// Adds every definition of an IDE file's `bytes`. With `takes_layout`, a
// "peds" header makes the file be written in the peds layout.
CommandResult AddDefinitions(RunContext& ctx, IdeState& ide,
                             const std::string& bytes, bool check,
                             bool takes_layout) {
  for (const SectionFileEntry& entry :
       ReadSectionFile(bytes, IdeSectionKeywords())) {
    const IdeSection section = static_cast<IdeSection>(entry.section);
    if (entry.kind == SectionFileEntry::kHeader) {
      if (takes_layout && section == IdeSection::kPeds) {
        ide.Ide.HasPedsSection = true;
      }
      continue;
    }
    QUARN_RETURN_IF_ENDED(AddDefinition(ctx, ide, section, entry.text, check));
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

CommandResult RunIdeOpen(RunContext& ctx, IdeState& ide,
                         const Command& command) {
  IdeEditor& editor = ide.Ide;
  const std::string& argument = command.argument;
  QUARN_RETURN_IF_ENDED(BeginOpening(ctx, editor, kKind, "IDE OPEN", argument));
  if (!ide.IdeScanDone) QUARN_RETURN_IF_ENDED(ScanGameIdeFiles(ctx, ide));
  std::string path;
  QUARN_RETURN_IF_ENDED(EditedFilePath(ctx, argument, "IDE OPEN", &path));
  // A file the scan has read claims its own IDs again without a conflict.
  const bool already_scanned = ide.ScannedIdeList.Contains(path);
  ide.ScannedIdeList.Append(path);
  std::string bytes;
  QUARN_RETURN_IF_ENDED(OpenForEditing(ctx, editor, kKind, path, &bytes));
  editor.HasPedsSection = false;
  QUARN_RETURN_IF_ENDED(
      AddDefinitions(ctx, ide, bytes, !already_scanned, true));
  return FinishOpening(ctx, editor);
}

CommandResult RunIdeAdd(RunContext& ctx, IdeState& ide,
                        const Command& command) {
  QUARN_RETURN_IF_ENDED(RequireOpenFile(ctx, ide.Ide, kKind));
  return AddDefinition(ctx, ide, static_cast<IdeSection>(command.section),
                       command.argument, true);
}

CommandResult RunIdeAddFile(RunContext& ctx, IdeState& ide,
                            const Command& command) {
  std::string bytes;
  QUARN_RETURN_IF_ENDED(
      ReadAddedFile(ctx, ide.Ide, kKind, command.argument, &bytes));
  return AddDefinitions(ctx, ide, bytes, true, false);
}

CommandResult RunIdeDel(RunContext& ctx, IdeState& ide,
                        const Command& command) {
  // Each deleted definition gives back the ID it claimed, read from the
  // line itself: a search such as "1*" does not name the IDs it deletes.
  return RunSectionDelete(
      ctx, ide.Ide, kKind, IdeSectionKeywords(), command.argument,
      [&ide](size_t section, const std::string& line) {
        if (ClaimsObjectIds(static_cast<IdeSection>(section))) {
          ide.ObjectIds.MarkFree(ObjectIdOf(line));
        }
      });
}

CommandResult RunIdeClose(RunContext& ctx, IdeState& ide, const Command&) {
  std::vector<SectionBlock> blocks;
  for (IdeSection section : WrittenSections(ide.Ide)) {
    const size_t index = static_cast<size_t>(section);
    blocks.push_back(
        {IdeSectionKeywords()[index], &ide.Ide.Sections[index].lines()});
  }
  return RunSectionClose(ctx, ide.Ide, kKind, blocks, "done");
}

}  // namespace quarn
