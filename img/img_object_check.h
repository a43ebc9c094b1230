// The check IMG ADD and IMG ADDALL run for every file they queue: the
// entries it replaces are marked deleted.
#pragma once

#include <string>

#include "editing/command.h"
#include "img/img_directory.h"

namespace quarn {

/// Logs "Checking object <name>... ", refuses a closed archive, an empty
/// name or one longer than 23 characters, and marks deleted every entry of
/// that name in any letter case.
CommandResult CheckObject(RunContext& ctx, ImgDirectory& img,
                          const std::string& name);

}  // namespace quarn
