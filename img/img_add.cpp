#include "img/img_add.h"

#include <string>
#include <vector>

#include "img/img_names.h"
#include "img/img_object_check.h"
#include "img/img_queue.h"
#include "platform/existence.h"
#include "text/ascii.h"

namespace quarn {
namespace {

bool IsListedFile(const FolderEntry& entry) {
  if (entry.name == "." || entry.name == "..") return false;
  return (entry.attributes & (kAttrHidden | kAttrSystem | kAttrDirectory)) == 0;
}

// The ordinary files of SourceDir, in the order the platform lists them.
bool ListSourceFiles(RunContext& ctx, std::vector<std::string>* names) {
  if (!ctx.Fs.ChangeFolder(ctx.SourceDir)) return false;
  std::vector<FolderEntry> entries;
  if (ctx.Fs.ListFolder(ctx.SourceDir, &entries) != FsStatus::kOkay) {
    return false;
  }
  for (const FolderEntry& entry : entries) {
    if (IsListedFile(entry)) {
      names->push_back(CutTo(entry.name, kImgNameBufferCapacity));
    }
  }
  return true;
}

// Every queued file, other files first, as the rebuild will write them.
std::vector<std::string> QueuedNames(const ImgPendingAdds& queues) {
  std::vector<std::string> names;
  for (const PendingAdd& add : queues.Others) names.push_back(add.Name);
  for (const PendingAdd& add : queues.Textures) names.push_back(add.Name);
  return names;
}

}  // namespace

CommandResult RunImgAdd(RunContext& ctx, ImgDirectory& img,
                        const Command& command) {
  const std::string name = CutTo(command.argument, kImgNameBufferCapacity);
  const std::string path = ctx.SourceDir + name;
  // Existence first: a path that is not there is reported as not found.
  if (!IsOrdinaryFile(ctx.Fs, path))
    return Fail(ctx, "File not found: " + path);
  // Windows takes a slash for a separator too: "sub/a.dff" is a path and
  // would otherwise become an entry named with one.
  if (name.find_first_of("\\/") != std::string::npos) {
    return Fail(ctx, "Paths not allowed in IMG ADD. Use DIR SELECT.");
  }
  if (FirstOverflowing(img.PendingAdds, {name}) == 0) {
    return Fail(ctx, QueueFullMessage(name));
  }
  QueuePendingAdd(img.PendingAdds, ctx.SourceDir, name);
  return CheckObject(ctx, img, name);
}

CommandResult RunImgAddAll(RunContext& ctx, ImgDirectory& img, const Command&) {
  std::vector<std::string> names;
  if (!ListSourceFiles(ctx, &names)) {
    return Fail(ctx, "Can't read folder " + ctx.SourceDir);
  }
  // The whole listing is judged before anything is queued or checked.
  for (const std::string& name : names) {
    if (name.size() > kImgMaxNameLength) {
      ctx.Log.LogLine("Invalid filename length on: " + name);
      return Fail(ctx, "Max length is 23");
    }
  }
  const size_t overflowing = FirstOverflowing(img.PendingAdds, names);
  if (overflowing < names.size()) {
    return Fail(ctx, QueueFullMessage(names[overflowing]));
  }
  for (const std::string& name : names) {
    QueuePendingAdd(img.PendingAdds, ctx.SourceDir, name);
  }
  // Files queued by earlier commands are checked again with the new ones.
  for (const std::string& name : QueuedNames(img.PendingAdds)) {
    QUARN_RETURN_IF_ENDED(CheckObject(ctx, img, name));
  }
  return CommandResult::kContinue;
}

}  // namespace quarn
