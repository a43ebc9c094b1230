#include "img/img_required_open.h"

namespace quarn {

CommandResult RequireOpenImg(RunContext& ctx, const ImgDirectory& img) {
  if (img.IsOpen) return CommandResult::kContinue;
  return Fail(ctx, kImgNotOpen);
}

}  // namespace quarn
