// How a raw script line becomes the line the dispatcher sees.
#pragma once

#include <string>

namespace quarn {

/// The cleaned form of a raw script line: cut at a NUL and to 899
/// characters, comment from the first ";" dropped, blanks trimmed, runs of
/// blanks and runs of tabs each folded to one. Empty means skip the line.
std::string CleanScriptLine(const std::string& raw);

}  // namespace quarn
