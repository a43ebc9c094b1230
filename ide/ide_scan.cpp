#include "ide/ide_scan.h"

#include <vector>

#include "ide/ide_sections.h"
#include "ide/object_id_of.h"
#include "platform/existence.h"
#include "platform/file_contents.h"
#include "text/ascii.h"
#include "text/lines.h"
#include "text/numbers.h"

namespace quarn {
namespace {

constexpr size_t kFileLineCapacity = 999;
const char kListFile[] = "data\\gta_vc.dat";
const char kDefaultIde[] = "data\\default.ide";
const char kListedIdePrefix[] = "IDE ";

// The file's lines, trimmed, without comments and empty lines.
std::vector<std::string> MeaningfulLines(const std::string& bytes) {
  std::vector<std::string> lines;
  for (const std::string& raw : SplitLines(bytes)) {
    const std::string line = TrimBlanks(LineUpToNul(raw, kFileLineCapacity));
    if (line.empty() || line[0] == '#') continue;
    lines.push_back(line);
  }
  return lines;
}

// Makes the file readable and reads it; the failure message in `*error`.
bool ReadGameFile(InstallContext& ctx, const std::string& path,
                  const char* missing, std::string* bytes, std::string* error) {
  if (!IsOrdinaryFile(ctx.Fs, path)) {
    *error = missing;
    return false;
  }
  if (!ClearAttributesForAccess(ctx.Fs, path) ||
      !ReadWholeFile(ctx.Fs, path, bytes)) {
    *error = "Can't access file";
    return false;
  }
  return true;
}

// Marks the IDs the file's definitions claim. On a conflict stores the ID
// in `*conflict` and returns false; IDs marked before it stay marked.
bool MarkFileIds(const std::string& bytes, bool already_scanned,
                 ObjectIdRegistry& ids, uint16_t* conflict) {
  bool in_section = false;
  IdeSection section = IdeSection::kObjs;
  for (const std::string& line : MeaningfulLines(bytes)) {
    if (IsIdeSectionEnd(line)) in_section = false;
    // A header met while a section is still open (its "end" missing) counts
    // as one more definition of that section before it switches.
    if (in_section && ClaimsObjectIds(section)) {
      const uint16_t id = ObjectIdOf(line);
      if (!already_scanned && ids.IsUsed(id)) {
        *conflict = id;
        return false;
      }
      ids.MarkUsed(id);
    }
    if (ReadIdeSectionHeader(line, &section)) in_section = true;
  }
  return true;
}

}  // namespace

CommandResult ScanIdeFile(InstallContext& ctx, const std::string& path) {
  const bool already_scanned = ctx.ScannedIdeList.Contains(path);
  ctx.ScannedIdeList.Append(path);
  ctx.Log.LogText("-- Scanning IDE file: " + path + " ... ");
  std::string bytes;
  std::string error;
  if (!ReadGameFile(ctx, path, "File not found", &bytes, &error)) {
    return Fail(ctx, error);
  }
  uint16_t conflict = 0;
  if (!MarkFileIds(bytes, already_scanned, ctx.ObjectIds, &conflict)) {
    return Fail(ctx,
                "ERROR: Object ID " + FormatSigned(conflict) + " already used");
  }
  ctx.Log.LogLine("ok");
  return CommandResult::kContinue;
}

CommandResult ScanGameIdeFiles(InstallContext& ctx) {
  ctx.Log.LogLine("Scanning IDE files...");
  ctx.Log.LogText("- Opening the 'gta_vc.dat' file... ");
  std::string bytes;
  std::string error;
  if (!ReadGameFile(ctx, ctx.GamePath + kListFile, "file not found", &bytes,
                    &error)) {
    return Fail(ctx, error);
  }
  ctx.Log.LogLine("ok");
  for (const std::string& line : MeaningfulLines(bytes)) {
    if (!StartsWithIgnoringCase(line, kListedIdePrefix)) continue;
    const std::string path =
        CutTo(ctx.GamePath + FromCharacter(line, 5), kIdePathCapacity);
    if (ScanIdeFile(ctx, path) == CommandResult::kEndRun) {
      return CommandResult::kEndRun;
    }
  }
  if (ScanIdeFile(ctx, ctx.GamePath + kDefaultIde) == CommandResult::kEndRun) {
    return CommandResult::kEndRun;
  }
  ctx.Log.LogLine("Done scanning IDE files");
  ctx.IdeScanDone = true;
  return CommandResult::kContinue;
}

}  // namespace quarn
