#include "col/col_add.h"

#include "col/col_file_read.h"
#include "text/ascii.h"

namespace quarn {
namespace {

const char kSeparator[] = " FROM ";
constexpr size_t kSeparatorLength = 6;

// The checks both commands make first, in their order.
CommandResult CheckCanAdd(RunContext& ctx, const OpenColFile& col) {
  if (!col.IsOpen) {
    return FailOnNewLine(ctx, "ERROR: COL file not open");
  }
  QUARN_RETURN_IF_ENDED(RequireGamePath(ctx));
  return CommandResult::kContinue;
}

// Puts `chunk` at the end of the open file in place of every model of its
// name.
CommandResult AddModel(RunContext& ctx, OpenColFile& col,
                       const ColChunk& chunk) {
  ctx.Log.LogText("Checking COL: " + chunk.Name + " ... ");
  const bool replaced = col.RemoveNamed(chunk.Name) > 0;
  if (col.Models.size() >= kColModelCapacity) {
    return FailOnNewLine(ctx, col.TooManyModelsMessage());
  }
  ctx.Log.LogLine(replaced ? "exists, will be replaced"
                           : "not found, will be added");
  col.Models.push_back(chunk);
  return CommandResult::kContinue;
}

// Adds the models of `source` named `*only` (every model when null), in
// file order; sets `*any` when one was. Every model of the file must have a
// name, added or not.
CommandResult AddModelsFrom(RunContext& ctx, OpenColFile& col,
                            const std::string& source, const std::string* only,
                            bool* any) {
  ColFileContents contents;
  QUARN_RETURN_IF_ENDED(ReadColFile(ctx, source, &contents));
  for (const ColChunk& chunk : contents.Chunks) {
    if (chunk.Name.empty()) {
      return Fail(ctx, "ERROR: Namesless COL file found");
    }
    if (only && !EqualsIgnoringCase(chunk.Name, *only)) continue;
    QUARN_RETURN_IF_ENDED(AddModel(ctx, col, chunk));
    *any = true;
  }
  if (contents.ForeignBytesFollow) return FailNotColFile(ctx);
  return CommandResult::kContinue;
}

}  // namespace

CommandResult RunColAdd(RunContext& ctx, OpenColFile& col,
                        const Command& command) {
  QUARN_RETURN_IF_ENDED(CheckCanAdd(ctx, col));
  // The separator may be written in any letter case.
  const std::string& argument = command.argument;
  const size_t at = ToUpperAscii(argument).find(kSeparator);
  if (at == std::string::npos) {
    return Fail(ctx, "ERROR: Use COL ADD <col object> FROM <col file>");
  }
  const std::string object = argument.substr(0, at);
  const std::string source =
      ctx.ModPath + argument.substr(at + kSeparatorLength);
  ctx.Log.LogLine("Adding: " + object + " From COL file: " + source);

  bool found = false;
  QUARN_RETURN_IF_ENDED(AddModelsFrom(ctx, col, source, &object, &found));
  if (!found) ctx.Log.LogLine("COL object not found: " + object);
  return CommandResult::kContinue;
}

CommandResult RunColAddFile(RunContext& ctx, OpenColFile& col,
                            const Command& command) {
  QUARN_RETURN_IF_ENDED(CheckCanAdd(ctx, col));
  const std::string source = ctx.ModPath + command.argument;
  ctx.Log.LogLine("Adding from COL file: " + source);
  bool any = false;
  return AddModelsFrom(ctx, col, source, nullptr, &any);
}

}  // namespace quarn
