#include "col/col_open.h"

#include "col/col_file_read.h"
#include "script/contained_path.h"

namespace quarn {
namespace {

constexpr size_t kKeywordLength = 9;  // "COL OPEN "

}  // namespace

CommandResult RunColOpen(InstallContext& ctx) {
  ctx.CommandRecognised = true;
  const std::string argument = ArgumentAfter(ctx, kKeywordLength);
  // The file is rewritten at COL CLOSE: it must lie inside the game folder.
  const std::string error = ContainedPathError(argument, "COL OPEN");
  if (!error.empty()) return Fail(ctx, error);
  if (ctx.GamePath.empty()) return Fail(ctx, "Install path unknown");
  OpenColFile& col = ctx.Col;
  if (col.IsOpen) return Fail(ctx, "COL already open");
  const std::string path = ctx.GamePath + argument;
  // A cut path would name another file, which the rewrite would replace.
  if (path.size() > kColPathCapacity) {
    return Fail(ctx, "Path too long in COL OPEN: " + path);
  }

  ctx.Log.LogLine("Opening COL file: " + path);
  ColFileContents contents;
  if (ReadColFile(ctx, path, &contents) == CommandResult::kEndRun) {
    return CommandResult::kEndRun;
  }
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
