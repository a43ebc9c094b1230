#include "gamecheck/broken_rules.h"

#include <algorithm>
#include <map>

namespace quarn {
namespace {

std::map<std::string, size_t> CountsByRule(const CheckFindings& findings) {
  std::map<std::string, size_t> counts;
  for (const CheckProblem& problem : findings.problems) ++counts[problem.rule];
  return counts;
}

}  // namespace

std::vector<std::string> RulesOf(const CheckFindings& after) {
  std::vector<std::string> rules;
  for (const CheckProblem& problem : after.problems) {
    if (std::find(rules.begin(), rules.end(), problem.rule) == rules.end()) {
      rules.push_back(problem.rule);
    }
  }
  return rules;
}

std::vector<std::string> NewlyBrokenRules(const CheckFindings& before,
                                          const CheckFindings& after) {
  std::map<std::string, size_t> had = CountsByRule(before);
  const std::map<std::string, size_t> has = CountsByRule(after);
  std::vector<std::string> broken;
  for (const std::string& rule : RulesOf(after)) {
    if (has.at(rule) > had[rule]) broken.push_back(rule);
  }
  return broken;
}

}  // namespace quarn
