#include "img/img_object_check.h"

#include "img/img_names.h"
#include "img/img_required_open.h"

namespace quarn {

CommandResult CheckObject(RunContext& ctx, ImgDirectory& img,
                          const std::string& name) {
  ctx.Log.LogText("Checking object " + name + "... ");
  if (!img.IsOpen) {
    return FailOnNewLine(ctx, kImgNotOpen);
  }
  if (name.size() > kImgMaxNameLength) {
    ctx.Log.LogLine("Invalid name length: " + name);
    return Fail(ctx, "Max length is 23");
  }
  if (name.empty()) return Fail(ctx, "No object");
  const bool replaced = MarkDeletedIgnoringCase(img.Entries, name) > 0;
  ctx.Log.LogLine(replaced ? "found, object will be replaced"
                           : "not found, object will be added");
  return CommandResult::kContinue;
}

}  // namespace quarn
