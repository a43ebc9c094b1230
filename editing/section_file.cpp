#include "editing/section_file.h"

#include "text/ascii.h"
#include "text/lines.h"

namespace quarn {
namespace {

constexpr size_t kFileLineCapacity = 999;

// Which of `keywords` the whole line is, in any case.
bool FindKeyword(const std::string& line,
                 const std::vector<std::string>& keywords, size_t* section) {
  for (size_t i = 0; i < keywords.size(); ++i) {
    if (EqualsIgnoringCase(line, keywords[i])) {
      *section = i;
      return true;
    }
  }
  return false;
}

}  // namespace

std::vector<std::string> MeaningfulLines(const std::string& bytes) {
  std::vector<std::string> lines;
  for (const std::string& raw : SplitLines(bytes)) {
    const std::string line = TrimBlanks(LineUpToNul(raw, kFileLineCapacity));
    if (!line.empty() && line[0] != '#') lines.push_back(line);
  }
  return lines;
}

std::vector<SectionFileEntry> ReadSectionFile(
    const std::string& bytes, const std::vector<std::string>& keywords) {
  std::vector<SectionFileEntry> entries;
  bool in_section = false;
  size_t section = 0;
  for (const std::string& line : MeaningfulLines(bytes)) {
    if (EqualsIgnoringCase(line, "end")) in_section = false;
    if (in_section) {
      entries.push_back({SectionFileEntry::kLine, section, line});
    }
    if (FindKeyword(line, keywords, &section)) {
      in_section = true;
      entries.push_back({SectionFileEntry::kHeader, section, line});
    }
  }
  return entries;
}

std::string SectionFileBytes(const std::vector<SectionBlock>& blocks) {
  std::vector<std::string> written;
  for (const SectionBlock& block : blocks) {
    written.push_back(block.keyword);
    for (const std::string& line : *block.lines) {
      if (!line.empty()) written.push_back(line);
    }
    written.push_back("end");
  }
  return JoinLinesCrLf(written);
}

bool SectionList::Append(const std::string& line) {
  if (lines_.size() >= limit_) return false;
  lines_.push_back(CutTo(line, kSectionLineCapacity));
  return true;
}

std::vector<std::string> SectionList::Delete(const std::string& search) {
  std::vector<std::string> deleted;
  for (std::string& line : lines_) {
    if (!SearchMatches(search, line)) continue;
    deleted.push_back(line);
    line.clear();
  }
  return deleted;
}

EditedSectionFile::EditedSectionFile(const std::vector<size_t>& limits) {
  for (size_t limit : limits) Sections.emplace_back(limit);
}

void EditedSectionFile::ClearSections() {
  for (SectionList& list : Sections) list.Clear();
}

bool SearchMatches(const std::string& search, const std::string& line) {
  if (line.empty()) return false;
  if (search.empty() || search.back() != '*') return line == search;
  const size_t prefix = search.size() - 1;
  return line.compare(0, prefix, search, 0, prefix) == 0;
}

bool IsValidSearch(const std::string& search) { return search != "*"; }

SectionArgument SplitSectionArgument(const std::string& argument,
                                     const std::vector<std::string>& keywords) {
  for (size_t i = 0; i < keywords.size(); ++i) {
    if (StartsWithIgnoringCase(argument, keywords[i] + " ")) {
      return {false, i, argument.substr(keywords[i].size() + 1)};
    }
  }
  return {true, 0, argument};
}

}  // namespace quarn
