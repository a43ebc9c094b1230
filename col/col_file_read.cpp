#include "col/col_file_read.h"

#include "editing/edited_game_file.h"

namespace quarn {

CommandResult ReadColFile(RunContext& ctx, const std::string& path,
                          ColFileContents* contents) {
  std::string bytes;
  if (EndsRun(ReadEditedFile(ctx, path, "File not found", &bytes))) {
    return CommandResult::kEndRun;
  }
  const ColChunksEnd end = ReadColChunks(bytes, &contents->Chunks);
  if (end == ColChunksEnd::kCorrupt) {
    return Fail(ctx, "COL file corrupt: " + path);
  }
  contents->ForeignBytesFollow = end == ColChunksEnd::kNotColFile;
  return CommandResult::kContinue;
}

CommandResult FailNotColFile(RunContext& ctx) {
  return Fail(ctx, "Not a COL file");
}

}  // namespace quarn
