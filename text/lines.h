// The one way every text file of the program is split into lines and
// written back.
#pragma once

#include <string>
#include <vector>

namespace quarn {

/// Splits file bytes into lines. A line ends at CR (a LF right after it is
/// skipped) or at a lone LF; a Ctrl-Z byte ends the file; a last line
/// without an end still counts. Line ends are not part of the lines.
std::vector<std::string> SplitLines(const std::string& bytes);

/// `line` up to its first NUL byte, then cut to `capacity` characters.
std::string LineUpToNul(const std::string& line, size_t capacity);

/// The lines joined, each followed by CR LF, as text files are written.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

/// `text` without leading and trailing blanks (only the space counts).
std::string TrimBlanks(const std::string& text);

}  // namespace quarn
