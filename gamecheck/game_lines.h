// How the stock game reads a text file, which is not how the editors read
// one: a line ends only at LF, only its first 255 characters are read, and
// control characters and commas are blanks before anything is parsed.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quarn {

/// The most characters of a line the game reads.
inline constexpr size_t kGameLineCapacity = 255;

/// One line as the game parses it.
struct GameLine {
  size_t number = 0;  ///< counted from 1
  std::string text;  ///< at most 255 characters, blanks for controls and commas
  /// Something other than blanks stood past the 255th character: the game
  /// never sees it.
  bool cut = false;
};

/// The lines of `bytes` as the game reads them, in file order. A last line
/// without an LF counts; a CR-only file is one line.
std::vector<GameLine> ReadGameLines(const std::string& bytes);

/// The line's values: its words between blanks, as the game's scanf reads
/// them. Empty for a blank line.
std::vector<std::string_view> GameValues(std::string_view text);

/// The line without its leading blanks, as the game looks at its first word.
std::string_view WithoutLeadingBlanks(std::string_view text);

/// The whole number a value starts with, as scanf's "%d" reads it; false
/// when it starts with none.
bool GameInteger(std::string_view value, long* number);

}  // namespace quarn
