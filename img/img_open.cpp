#include "img/img_open.h"

#include <memory>
#include <string>
#include <vector>

#include "img/img_paths.h"
#include "platform/existence.h"
#include "text/numbers.h"

namespace quarn {
namespace {

// The existence, attribute and open steps both archive files go through.
// On failure returns null and says why in `*message`.
std::unique_ptr<File> OpenArchiveFile(RunContext& ctx, const char* relative,
                                      const char* short_name,
                                      std::string* message) {
  const std::string path = ctx.GamePath + relative;
  if (!IsOrdinaryFile(ctx.Fs, path)) {
    *message = path + " not found";
    return nullptr;
  }
  if (!ClearAttributesForAccess(ctx.Fs, path)) {
    *message = std::string("Can't access the '") + short_name +
               "' file. Can't set file attributes.";
    return nullptr;
  }
  std::unique_ptr<File> file = ctx.Fs.Open(path, OpenMode::kReadWrite, nullptr);
  if (!file) *message = "Can't access " + path;
  return file;
}

std::string TooLargeMessage(uint64_t count) {
  return ".DIR file too large. Entries: " +
         FormatSigned(static_cast<int64_t>(count)) + " (at most " +
         std::to_string(kImgDirectoryCapacity) + ")";
}

}  // namespace

CommandResult RunImgOpenDef(RunContext& ctx, ImgDirectory& img,
                            const Command&) {
  QUARN_RETURN_IF_ENDED(RequireGamePath(ctx));
  if (img.IsOpen) return Fail(ctx, "IMG already open");

  // A file opened before a later step fails stays held until the run's end
  // closes it, so nothing else can change it meanwhile.
  std::string message;
  img.DirFile = OpenArchiveFile(ctx, kImgDirFile, "gta3.dir", &message);
  if (!img.DirFile) return Fail(ctx, message);
  img.ImgFile = OpenArchiveFile(ctx, kImgArchiveFile, "gta3.img", &message);
  if (!img.ImgFile) return Fail(ctx, message);

  const std::string dir_path = ctx.GamePath + kImgDirFile;
  uint64_t length = 0;
  if (!img.DirFile->Length(&length)) return Fail(ctx, "Can't read " + dir_path);
  if (length % kImgRecordSize != 0) {
    return Fail(ctx, ".DIR file corrupt. Invalid length.");
  }
  const uint64_t count = length / kImgRecordSize;
  if (count > kImgDirectoryCapacity) return Fail(ctx, TooLargeMessage(count));

  ctx.Log.LogLine("Reading IMG...");
  std::vector<ImgEntry> entries;
  if (!ReadImgRecords(*img.DirFile, count, &entries)) {
    return Fail(ctx, "Can't read " + dir_path);
  }
  img.Entries = std::move(entries);
  ctx.Log.LogLine("Indexes: " + FormatSigned(static_cast<int64_t>(count)));
  img.GameFolder = ctx.GamePath;
  img.IsOpen = true;
  return CommandResult::kContinue;
}

}  // namespace quarn
