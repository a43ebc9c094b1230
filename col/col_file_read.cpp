#include "col/col_file_read.h"

#include "editing/edited_game_file.h"

namespace quarn {

CommandResult ReadColFile(RunContext& ctx, const std::string& path,
                          ColFileContents* contents) {
  std::string bytes;
  QUARN_RETURN_IF_ENDED(ReadEditedFile(ctx, path, "File not found", &bytes));
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
