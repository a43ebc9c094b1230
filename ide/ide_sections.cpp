#include "ide/ide_sections.h"

#include "text/ascii.h"

namespace quarn {
namespace {

const char* const kKeywords[kIdeSectionCount] = {
    "objs", "tobj", "path", "2dfx", "peds", "cars", "weap", "hier"};

}  // namespace

const char* IdeSectionKeyword(IdeSection section) {
  return kKeywords[static_cast<int>(section)];
}

bool ClaimsObjectIds(IdeSection section) {
  return section != IdeSection::kPath && section != IdeSection::k2dfx;
}

bool ReadIdeSectionHeader(const std::string& line, IdeSection* section) {
  for (int i = 0; i < kIdeSectionCount; ++i) {
    if (EqualsIgnoringCase(line, kKeywords[i])) {
      *section = static_cast<IdeSection>(i);
      return true;
    }
  }
  return false;
}

bool IsIdeSectionEnd(const std::string& line) {
  return EqualsIgnoringCase(line, "end");
}

}  // namespace quarn
