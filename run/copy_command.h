// COPY: one file from the mod into the game folder.
#pragma once

#include <string>

#include "editing/command.h"
#include "run/install_context.h"

namespace quarn {

/// The most characters COPY's source and destination paths may have.
inline constexpr size_t kCopyPathCapacity = 259;

/// COPY <source> TO <destination>, either path optionally in double quotes:
/// copies ModPath + source over GamePath + destination. The unquoted form
/// upper-cases both paths. A destination that could leave the game folder,
/// or a path too long to keep whole, fails the run before anything is done.
RunCommand RunCopyCommand;

/// Copies `source` over `destination`, logging the two paths and the
/// outcome; a missing source is reported but still tried. Scans the copy
/// into the object ID registry when its name ends in ".ide" in any case.
CommandResult RunCopy(InstallContext& ctx, const std::string& source,
                      const std::string& destination);

}  // namespace quarn
