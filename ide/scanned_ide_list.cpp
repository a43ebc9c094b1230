#include "ide/scanned_ide_list.h"

#include <algorithm>

#include "text/ascii.h"

namespace quarn {

bool ScannedIdeList::Contains(const std::string& path) const {
  return std::find(paths_.begin(), paths_.end(), ToUpperAscii(path)) !=
         paths_.end();
}

void ScannedIdeList::Append(const std::string& path) {
  paths_.push_back(ToUpperAscii(path));
}

}  // namespace quarn
