// Collision files made of "COLL" chunks, as the game reads them and the
// installer's COL editor copies them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quarn {

/// One collision model: "COLL", a 32-bit little-endian count of the bytes
/// after that field, the 24-byte name field (`name` cut to 23 characters,
/// NUL-padded) and a body of bounds, one sphere and one or more boxes.
/// The same name and seed always give the same bytes.
std::string ColChunk(const std::string& name, uint64_t seed);

/// A whole COL file: the chunks of `names`, back to back, no header.
std::string ColFileBytes(const std::vector<std::string>& names, uint64_t seed);

}  // namespace quarn
