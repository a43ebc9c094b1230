#include "ide/ide_sections.h"

namespace quarn {

const std::vector<std::string>& IdeSectionKeywords() {
  static const std::vector<std::string> keywords = {
      "objs", "tobj", "path", "2dfx", "peds", "cars", "weap", "hier"};
  return keywords;
}

bool ClaimsObjectIds(IdeSection section) {
  return section != IdeSection::kPath && section != IdeSection::k2dfx;
}

}  // namespace quarn
