// How a definition line names its object ID.
#pragma once

#include <cstdint>
#include <string>

namespace quarn {

/// The object ID a definition line begins with: its first field (quoted, or
/// up to the first comma) read leniently as a number, rounded to the
/// nearest integer (ties to even) and kept modulo 65,536. A field without a
/// number gives 0.
uint16_t ObjectIdOf(const std::string& line);

}  // namespace quarn
