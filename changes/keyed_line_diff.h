// What changed between two versions of a file's entries, each entry a line
// with a key that says which thing it defines.
#pragma once

#include <string>
#include <vector>

#include "undo/change_fact.h"

namespace quarn {

/// One entry of a file: the thing it is about, and its whole text.
struct KeyedLine {
  std::string key;
  std::string line;
};

/// The facts of kind `kind` about file `file` from `before` to `after`: a
/// key whose lines were only added is added, one whose lines were only
/// deleted is deleted, one with both is changed; lines that merely moved
/// are no change. Keys come in the order their lines appear, `after`'s
/// first.
std::vector<ChangeFact> KeyedLineFacts(FactKind kind, const std::string& file,
                                       const std::vector<KeyedLine>& before,
                                       const std::vector<KeyedLine>& after);

}  // namespace quarn
