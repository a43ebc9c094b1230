#include "tools/samplegen/section_text.h"

namespace quarn {

std::vector<std::string> SectionFileLines(
    const std::vector<std::string>& header,
    const std::vector<TextSection>& sections, bool spaced) {
  std::vector<std::string> lines = header;
  for (const TextSection& section : sections) {
    if (spaced && &section != &sections.front()) lines.push_back("");
    lines.push_back(section.keyword);
    lines.insert(lines.end(), section.lines.begin(), section.lines.end());
    lines.push_back("end");
  }
  return lines;
}

}  // namespace quarn
