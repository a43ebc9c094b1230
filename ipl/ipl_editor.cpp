#include "ipl/ipl_editor.h"

namespace quarn {

const std::vector<std::string>& IplSectionKeywords() {
  static const std::vector<std::string> keywords = {"inst", "cull", "path",
                                                    "pick"};
  return keywords;
}

const std::vector<size_t>& IplSectionLimits() {
  static const std::vector<size_t> limits = {19997, 4997, 29997, 1895};
  return limits;
}

}  // namespace quarn
