// Collision file chunks for tests, built from the record layout alone so
// that the COL commands are tested against bytes they did not produce.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quarn {

/// "COLL", `size` as a 32-bit little-endian number, then `rest` as given,
/// whatever `size` says.
std::string RawColChunk(uint32_t size, const std::string& rest);

/// A sound chunk: `name_field` padded with NULs to 24 bytes (it may hold
/// bytes after a NUL, or 24 characters and no NUL), then `body`.
std::string TestColChunk(const std::string& name_field,
                         const std::string& body);

/// A sound chunk named `name` whose body, differing by `tag`, shows any
/// misplaced byte.
std::string TestColModel(const std::string& name, int tag);

/// The chunks of `names` back to back, each body tagged with `tag`.
std::string TestColModels(const std::vector<std::string>& names, int tag);

}  // namespace quarn
