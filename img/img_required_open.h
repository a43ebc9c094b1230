// The check every archive command but IMG OPENDEF makes first.
#pragma once

#include "editing/command.h"
#include "img/img_directory.h"

namespace quarn {

/// What an archive command says when no archive is open.
inline constexpr char kImgNotOpen[] = "ERROR: IMG not open";

/// Fails the run with kImgNotOpen unless the archive is open.
CommandResult RequireOpenImg(RunContext& ctx, const ImgDirectory& img);

}  // namespace quarn
