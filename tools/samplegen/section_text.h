// The layout shared by IDE and IPL files: sections that open with a keyword
// line and close with "end".
#pragma once

#include <string>
#include <vector>

namespace quarn {

/// One section: its keyword line ("objs", "inst", ...) and its lines.
struct TextSection {
  std::string keyword;             ///< the header line, e.g. "objs"
  std::vector<std::string> lines;  ///< definitions and comment lines
};

/// The file's lines: `header` (comment lines) first, then every section as
/// its keyword, its lines and "end"; with `spaced`, an empty line follows
/// every "end" but the last.
std::vector<std::string> SectionFileLines(
    const std::vector<std::string>& header,
    const std::vector<TextSection>& sections, bool spaced = false);

}  // namespace quarn
