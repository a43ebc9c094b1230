#include "img/img_object_check.h"

#include "img/img_names.h"

namespace quarn {

CommandResult CheckObject(InstallContext& ctx, const std::string& name) {
  ctx.Log.LogText("Checking object " + name + "... ");
  if (!ctx.Img.IsOpen) {
    ctx.Log.LogLine(" ");
    return Fail(ctx, "ERROR: IMG not open");
  }
  if (name.size() > kImgMaxNameLength) {
    ctx.Log.LogLine("Invalid name length: " + name);
    return Fail(ctx, "Max length is 23");
  }
  if (name.empty()) return Fail(ctx, "No object");
  const bool replaced = MarkDeletedIgnoringCase(ctx.Img.Entries, name) > 0;
  ctx.Log.LogLine(replaced ? "found, object will be replaced"
                           : "not found, object will be added");
  return CommandResult::kContinue;
}

}  // namespace quarn
