// IMG CLOSE / IMG REBUILD: the one command that writes the model archive and
// its directory.
#pragma once

#include "editing/command.h"
#include "img/img_directory.h"

namespace quarn {

/// IMG CLOSE and IMG REBUILD: squeezes deleted entries out of the open
/// archive, appends the queued files (textures last), cuts the archive,
/// replaces the directory, and closes the archive. Everything that can be
/// checked is checked before a byte changes; the directory is replaced in
/// one step, and an archive whose layout is unsafe to rewrite in place is
/// rebuilt beside the original, which it replaces only once complete.
EditorCommand<ImgDirectory> RunImgRebuild;

}  // namespace quarn
