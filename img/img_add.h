// IMG ADD and IMG ADDALL: queue files of the mod's source folder for the
// next rebuild, replacing the entries of the same names.
#pragma once

#include "editing/command.h"
#include "img/img_directory.h"

namespace quarn {

/// "IMG ADD <name>": queues SourceDir + name and marks the entries it
/// replaces deleted.
EditorCommand<ImgDirectory> RunImgAdd;

/// "IMG ADDALL": makes SourceDir the current folder, queues every ordinary
/// file in it in listing order, then checks every queued file.
EditorCommand<ImgDirectory> RunImgAddAll;

}  // namespace quarn
