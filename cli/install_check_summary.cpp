#include "cli/install_check_summary.h"

#include "gamecheck/broken_rules.h"
#include "gamecheck/game_check.h"
#include "text/ascii.h"

namespace quarn {
namespace {

bool InChangedFile(const CheckProblem& problem,
                   const std::vector<std::string>& changed) {
  for (const std::string& file : changed) {
    if (EqualsIgnoringCase(problem.file, file)) return true;
  }
  return false;
}

}  // namespace

void NoteChangedFiles(const ModChangeSet& set,
                      std::vector<std::string>* files) {
  for (const ChangeFact& fact : set.facts) {
    if (fact.kind == FactKind::kFile && fact.action != FactAction::kDelete) {
      files->push_back(fact.file);
    }
  }
}

std::string InstallCheckSummary(FileSystem& fs, const std::string& game,
                                const std::vector<std::string>& changed) {
  const CheckFindings findings = CheckGame(fs, game, CheckLimits());
  CheckFindings installed;
  for (const CheckProblem& problem : findings.problems) {
    if (InChangedFile(problem, changed)) installed.problems.push_back(problem);
  }
  if (installed.problems.empty()) return "";
  std::string rules;
  for (const std::string& rule : RulesOf(installed)) {
    rules += (rules.empty() ? "" : ", ") + rule;
  }
  return "quarn: this install broke " + rules + "; " + VerdictLine(findings) +
         "\n" + TablesLine(findings) + "\nquarn: quarn check --game " + game +
         " lists every problem\n";
}

}  // namespace quarn
