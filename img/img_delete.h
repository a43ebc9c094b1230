// IMG DELETE and IMG DELFROM: mark entries deleted; the next rebuild
// reclaims their sectors.
#pragma once

#include "editing/command.h"
#include "img/img_directory.h"

namespace quarn {

/// "IMG DELETE <name>": marks deleted every entry of that name in any
/// letter case; a name not found is logged and the script goes on.
EditorCommand<ImgDirectory> RunImgDelete;

/// "IMG DELFROM <first> TO <last>": marks deleted every entry from the
/// first entry named <first> to the first entry named <last>, inclusive.
EditorCommand<ImgDirectory> RunImgDelFrom;

}  // namespace quarn
