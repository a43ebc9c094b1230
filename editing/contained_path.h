// Script arguments that name something below a base folder must stay below
// it: mods come from the internet, and a script must not reach the rest of
// the user's disk.
#pragma once

#include <string>

namespace quarn {

/// The message that refuses `argument` of the script command `command`
/// ("DIR CREATE", "COPY", ...) when it could leave its base folder: a
/// colon, a leading backslash or "..", tested in that order. Empty when the
/// argument stays inside.
std::string ContainedPathError(const std::string& argument,
                               const std::string& command);

}  // namespace quarn
