#include "ide/ide_scan.h"

#include "editing/edited_game_file.h"
#include "editing/section_file.h"
#include "ide/ide_sections.h"
#include "ide/object_id_of.h"
#include "text/ascii.h"
#include "text/numbers.h"

namespace quarn {
namespace {

const char kListFile[] = "data\\gta_vc.dat";
const char kDefaultIde[] = "data\\default.ide";
const char kListedIdePrefix[] = "IDE ";

// Marks the IDs the file's definitions claim. On a conflict stores the ID
// in `*conflict` and returns false; IDs marked before it stay marked.
bool MarkFileIds(const std::string& bytes, bool already_scanned,
                 ObjectIdRegistry& ids, uint16_t* conflict) {
  for (const SectionFileEntry& entry :
       ReadSectionFile(bytes, IdeSectionKeywords())) {
    if (entry.kind != SectionFileEntry::kLine ||
        !ClaimsObjectIds(static_cast<IdeSection>(entry.section))) {
      continue;
    }
    const uint16_t id = ObjectIdOf(entry.text);
    if (!already_scanned && ids.IsUsed(id)) {
      *conflict = id;
      return false;
    }
    ids.MarkUsed(id);
  }
  return true;
}

}  // namespace

CommandResult ScanIdeFile(RunContext& ctx, IdeState& ide,
                          const std::string& path) {
  const bool already_scanned = ide.ScannedIdeList.Contains(path);
  ide.ScannedIdeList.Append(path);
  ctx.Log.LogText("-- Scanning IDE file: " + path + " ... ");
  std::string bytes;
  QUARN_RETURN_IF_ENDED(ReadEditedFile(ctx, path, "File not found", &bytes));
  uint16_t conflict = 0;
  if (!MarkFileIds(bytes, already_scanned, ide.ObjectIds, &conflict)) {
    return Fail(ctx,
                "ERROR: Object ID " + FormatSigned(conflict) + " already used");
  }
  ctx.Log.LogLine("ok");
  return CommandResult::kContinue;
}

CommandResult ScanGameIdeFiles(RunContext& ctx, IdeState& ide) {
  ctx.Log.LogLine("Scanning IDE files...");
  ctx.Log.LogText("- Opening the 'gta_vc.dat' file... ");
  std::string bytes;
  QUARN_RETURN_IF_ENDED(
      ReadEditedFile(ctx, ctx.GamePath + kListFile, "file not found", &bytes));
  ctx.Log.LogLine("ok");
  for (const std::string& line : MeaningfulLines(bytes)) {
    if (!StartsWithIgnoringCase(line, kListedIdePrefix)) continue;
    const std::string path =
        CutTo(ctx.GamePath + FromCharacter(line, 5), kIdePathCapacity);
    QUARN_RETURN_IF_ENDED(ScanIdeFile(ctx, ide, path));
  }
  QUARN_RETURN_IF_ENDED(ScanIdeFile(ctx, ide, ctx.GamePath + kDefaultIde));
  ctx.Log.LogLine("Done scanning IDE files");
  ide.IdeScanDone = true;
  return CommandResult::kContinue;
}

}  // namespace quarn
