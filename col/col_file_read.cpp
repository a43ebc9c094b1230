#include "col/col_file_read.h"

#include "platform/game_file.h"

namespace quarn {

CommandResult ReadColFile(InstallContext& ctx, const std::string& path,
                          ColFileContents* contents) {
  std::string bytes;
  switch (ReadGameFile(ctx.Fs, path, &bytes)) {
    case GameFileRead::kMissing:
      return Fail(ctx, "File not found");
    case GameFileRead::kInaccessible:
      return Fail(ctx, "Can't access file");
    case GameFileRead::kOkay:
      break;
  }
  const ColChunksEnd end = ReadColChunks(bytes, &contents->Chunks);
  if (end == ColChunksEnd::kCorrupt) {
    return Fail(ctx, "COL file corrupt: " + path);
  }
  contents->ForeignBytesFollow = end == ColChunksEnd::kNotColFile;
  return CommandResult::kContinue;
}

CommandResult FailNotColFile(InstallContext& ctx) {
  return Fail(ctx, "Not a COL file");
}

}  // namespace quarn
