// IMG OPENDEF: loads the archive's directory and holds both files open
// until the rebuild.
#pragma once

#include "editing/command.h"
#include "img/img_directory.h"

namespace quarn {

/// Opens models\gta3.dir and models\gta3.img of the game folder unshared
/// and reads every directory record into img.
EditorCommand<ImgDirectory> RunImgOpenDef;

}  // namespace quarn
