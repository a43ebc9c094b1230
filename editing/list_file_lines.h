// How the two list editors read their file's lines.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace quarn {

/// The most characters a line of a list file is read with; the rest of a
/// longer line is lost.
inline constexpr size_t kListLineReadCapacity = 999;

/// The lines of list file `bytes`, each cut at a NUL and to 999
/// characters, then stripped of leading and trailing blanks.
std::vector<std::string> ListFileLines(const std::string& bytes);

}  // namespace quarn
