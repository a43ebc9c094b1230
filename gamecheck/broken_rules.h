// Which rules a change to a game broke: those with more problems after it
// than before.
#pragma once

#include <string>
#include <vector>

#include "gamecheck/check_findings.h"

namespace quarn {

/// The rules of `after`'s problems, each once, in the order of their first
/// problem.
std::vector<std::string> RulesOf(const CheckFindings& after);

/// The rules that `after` has more problems of than `before`, in the order
/// of their first problem in `after`.
std::vector<std::string> NewlyBrokenRules(const CheckFindings& before,
                                          const CheckFindings& after);

}  // namespace quarn
