#include "col/col_open.h"

#include "col/col_file_read.h"
#include "editing/contained_path.h"

namespace quarn {
CommandResult RunColOpen(RunContext& ctx, OpenColFile& col,
                         const Command& command) {
  const std::string& argument = command.argument;
  // The file is rewritten at COL CLOSE: it must lie inside the game folder.
  const std::string error = ContainedPathError(argument, "COL OPEN");
  if (!error.empty()) return Fail(ctx, error);
  QUARN_RETURN_IF_ENDED(RequireGamePath(ctx));
  if (col.IsOpen) return Fail(ctx, "COL already open");
  const std::string path = ctx.GamePath + argument;
  // A cut path would name another file, which the rewrite would replace.
  if (path.size() > kColPathCapacity) {
    return Fail(ctx, "Path too long in COL OPEN: " + path);
  }

  ctx.Log.LogLine("Opening COL file: " + path);
  ColFileContents contents;
  QUARN_RETURN_IF_ENDED(ReadColFile(ctx, path, &contents));
  col.Path = path;
  if (contents.Chunks.size() > kColModelCapacity) {
    return Fail(ctx, col.TooManyModelsMessage());
  }
  col.Models.clear();
  for (ColChunk& chunk : contents.Chunks) {
    ctx.Log.LogLine(chunk.Name);
    col.Models.push_back(std::move(chunk));
  }
  if (contents.ForeignBytesFollow) return FailNotColFile(ctx);
  col.IsOpen = true;
  return CommandResult::kContinue;
}

}  // namespace quarn
