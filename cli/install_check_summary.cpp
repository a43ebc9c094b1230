#include "cli/install_check_summary.h"

#include "cli/user_paths.h"
#include "gamecheck/broken_rules.h"
#include "gamecheck/game_check.h"
#include "text/ascii.h"
#include "text/lines.h"

namespace quarn {
namespace {

bool InChangedFile(const CheckProblem& problem,
                   const std::vector<std::string>& changed) {
  for (const std::string& file : changed) {
    if (EqualsIgnoringCase(problem.file, file)) return true;
  }
  return false;
}

// The file a gta_vc.dat line names: after its kind, and after the level
// number of a COLFILE line.
std::string ListedPath(const std::string& line) {
  size_t at = line.find(' ');
  if (at == std::string::npos) return "";
  if (line.compare(0, 8, "COLFILE ") == 0) at = line.find(' ', at + 1);
  return at == std::string::npos ? "" : TrimBlanks(line.substr(at + 1));
}

}  // namespace

void NoteChangedFiles(const ModChangeSet& set,
                      std::vector<std::string>* files) {
  for (const ChangeFact& fact : set.facts) {
    if (fact.action == FactAction::kDelete) continue;
    if (fact.kind == FactKind::kFile) files->push_back(fact.file);
    // A file the run listed anew is the run's doing even if it was there.
    if (fact.kind == FactKind::kGtaVcDatLine) {
      files->push_back(ListedPath(fact.subject));
    }
  }
}

std::string InstallCheckSummary(FileSystem& fs, const std::string& game,
                                const std::vector<std::string>& changed) {
  // A problem counts only in a file the install changed.
  if (changed.empty()) return "";
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
         "\n" + TablesLine(findings) + "\nquarn: quarn check --game " +
         PathSpelling(game) + " lists every problem\n";
}

}  // namespace quarn
