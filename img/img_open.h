// IMG OPENDEF: loads the archive's directory and holds both files open
// until the rebuild.
#pragma once

#include "script/command.h"

namespace quarn {

/// Opens models\gta3.dir and models\gta3.img of the game folder unshared
/// and reads every directory record into ctx.Img.
CommandResult RunImgOpenDef(InstallContext& ctx);

}  // namespace quarn
