// IMG DELETE and IMG DELFROM: mark entries deleted; the next rebuild
// reclaims their sectors.
#pragma once

#include "script/command.h"

namespace quarn {

/// "IMG DELETE <name>": marks deleted every entry of that name in any
/// letter case; a name not found is logged and the script goes on.
CommandResult RunImgDelete(InstallContext& ctx);

/// "IMG DELFROM <first> TO <last>": marks deleted every entry from the
/// first entry named <first> to the first entry named <last>, inclusive.
CommandResult RunImgDelFrom(InstallContext& ctx);

}  // namespace quarn
