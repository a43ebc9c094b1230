#include "col/col_add.h"

#include "col/col_file_read.h"
#include "text/ascii.h"

namespace quarn {
namespace {

constexpr size_t kAddKeywordLength = 8;       // "COL ADD "
constexpr size_t kAddFileKeywordLength = 12;  // "COL ADDFILE "
const char kSeparator[] = " FROM ";
constexpr size_t kSeparatorLength = 6;

// The checks both commands make first, in their order.
CommandResult CheckCanAdd(InstallContext& ctx) {
  if (!ctx.Col.IsOpen) {
    ctx.Log.LogLine(" ");
    return Fail(ctx, "ERROR: COL file not open");
  }
  if (ctx.GamePath.empty()) return Fail(ctx, "Install path unknown");
  return CommandResult::kContinue;
}

// Puts `chunk` at the end of the open file in place of every model of its
// name.
CommandResult AddModel(InstallContext& ctx, const ColChunk& chunk) {
  OpenColFile& col = ctx.Col;
  ctx.Log.LogText("Checking COL: " + chunk.Name + " ... ");
  const bool replaced = col.RemoveNamed(chunk.Name) > 0;
  if (col.Models.size() >= kColModelCapacity) {
    ctx.Log.LogLine(" ");
    return Fail(ctx, col.TooManyModelsMessage());
  }
  ctx.Log.LogLine(replaced ? "exists, will be replaced"
                           : "not found, will be added");
  col.Models.push_back(chunk);
  return CommandResult::kContinue;
}

// Adds the models of `source` named `*only` (every model when null), in
// file order; sets `*any` when one was. Every model of the file must have a
// name, added or not.
CommandResult AddModelsFrom(InstallContext& ctx, const std::string& source,
                            const std::string* only, bool* any) {
  ColFileContents contents;
  if (ReadColFile(ctx, source, &contents) == CommandResult::kEndRun) {
    return CommandResult::kEndRun;
  }
  for (const ColChunk& chunk : contents.Chunks) {
    if (chunk.Name.empty()) {
      return Fail(ctx, "ERROR: Namesless COL file found");
    }
    if (only && !EqualsIgnoringCase(chunk.Name, *only)) continue;
    if (AddModel(ctx, chunk) == CommandResult::kEndRun) {
      return CommandResult::kEndRun;
    }
    *any = true;
  }
  if (contents.ForeignBytesFollow) return FailNotColFile(ctx);
  return CommandResult::kContinue;
}

}  // namespace

CommandResult RunColAdd(InstallContext& ctx) {
  ctx.CommandRecognised = true;
  if (CheckCanAdd(ctx) == CommandResult::kEndRun) {
    return CommandResult::kEndRun;
  }
  // The separator may be written in any letter case.
  const std::string& line = ctx.ScriptLine;
  const size_t at = ToUpperAscii(line).find(kSeparator, kAddKeywordLength);
  if (at == std::string::npos) {
    return Fail(ctx, "ERROR: Use COL ADD <col object> FROM <col file>");
  }
  const std::string object =
      line.substr(kAddKeywordLength, at - kAddKeywordLength);
  const std::string source = ctx.ModPath + line.substr(at + kSeparatorLength);
  ctx.Log.LogLine("Adding: " + object + " From COL file: " + source);

  bool found = false;
  if (AddModelsFrom(ctx, source, &object, &found) == CommandResult::kEndRun) {
    return CommandResult::kEndRun;
  }
  if (!found) ctx.Log.LogLine("COL object not found: " + object);
  return CommandResult::kContinue;
}

CommandResult RunColAddFile(InstallContext& ctx) {
  ctx.CommandRecognised = true;
  if (CheckCanAdd(ctx) == CommandResult::kEndRun) {
    return CommandResult::kEndRun;
  }
  const std::string source =
      ctx.ModPath + ArgumentAfter(ctx, kAddFileKeywordLength);
  ctx.Log.LogLine("Adding from COL file: " + source);
  bool any = false;
  return AddModelsFrom(ctx, source, nullptr, &any);
}

}  // namespace quarn
