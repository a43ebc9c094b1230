#include "gamecheck/check_findings.h"

#include "text/numbers.h"

namespace quarn {
namespace {

size_t CountFatal(const CheckFindings& findings) {
  size_t fatal = 0;
  for (const CheckProblem& problem : findings.problems) {
    if (IsFatal(problem.effect)) ++fatal;
  }
  return fatal;
}

std::string Counted(size_t count, const char* one, const char* many) {
  return FormatGrouped(static_cast<int64_t>(count)) + " " +
         (count == 1 ? one : many);
}

void ReportPastLimit(CheckFindings* findings, Limit limit, int64_t value,
                     const std::string& file, size_t line) {
  const TableLimit& table = TableLimitOf(limit);
  findings->Add(file, line, CheckEffect::kCrashes,
                std::string(table.label) + " " + FormatGrouped(value) +
                    " of at most " + FormatGrouped(findings->limits.Of(limit)),
                table.name);
}

}  // namespace

const char* EffectWords(CheckEffect effect) {
  switch (effect) {
    case CheckEffect::kCrashes:
      return "crashes";
    case CheckEffect::kFailsToLoad:
      return "fails to load";
    case CheckEffect::kDropsLine:
      return "drops it";
    case CheckEffect::kCuts:
      return "cuts it";
    case CheckEffect::kMisreads:
      return "misreads it";
    case CheckEffect::kLoadsOtherCopy:
      return "loads another copy";
  }
  return "";
}

bool IsFatal(CheckEffect effect) {
  return effect == CheckEffect::kCrashes || effect == CheckEffect::kFailsToLoad;
}

void CheckFindings::Add(const std::string& file, size_t line,
                        CheckEffect effect, const std::string& what,
                        const std::string& rule) {
  problems.push_back(CheckProblem{file, line, effect, what, rule});
}

void CheckFindings::Use(Limit limit, const std::string& file, size_t line) {
  int64_t& count = used[static_cast<int>(limit)];
  ++count;
  if (count == limits.Of(limit) + 1) {
    ReportPastLimit(this, limit, count, file, line);
  }
}

void CheckFindings::Reach(Limit limit, int64_t value, const std::string& file,
                          size_t line) {
  int64_t& highest = used[static_cast<int>(limit)];
  const int64_t size = limits.Of(limit);
  if (value > size && highest <= size) {
    ReportPastLimit(this, limit, value, file, line);
  }
  if (value > highest) highest = value;
}

int CheckExitStatus(const CheckFindings& findings) {
  if (findings.problems.empty()) return 0;
  return CountFatal(findings) > 0 ? 1 : 2;
}

std::string ProblemLine(const CheckProblem& problem) {
  std::string text = problem.file;
  if (problem.line > 0) text += ":" + std::to_string(problem.line);
  return text + ": " + EffectWords(problem.effect) + ": " + problem.what +
         " [" + problem.rule + "]";
}

std::string TablesLine(const CheckFindings& findings) {
  std::string text = "tables:";
  for (const TableLimit& table : StockLimits()) {
    if (text.size() > 7) text += ",";
    text += std::string(" ") + table.label + " " +
            FormatGrouped(findings.UseOf(table.limit)) + " / " +
            FormatGrouped(findings.limits.Of(table.limit));
  }
  return text;
}

std::string VerdictLine(const CheckFindings& findings) {
  const size_t fatal = CountFatal(findings);
  const size_t warnings = findings.problems.size() - fatal;
  const std::string counts =
      Counted(fatal, "problem that stops it", "problems that stop it") + ", " +
      Counted(warnings, "warning", "warnings");
  switch (CheckExitStatus(findings)) {
    case 0:
      return "check: the game loads cleanly";
    case 1:
      return "check: the game would crash or fail to load (" + counts + ")";
  }
  return "check: the game loads but drops or replaces something (" + counts +
         ")";
}

std::string CheckReportText(const CheckFindings& findings) {
  std::string text;
  for (const CheckProblem& problem : findings.problems) {
    text += ProblemLine(problem) + "\n";
  }
  return text + TablesLine(findings) + "\n" + VerdictLine(findings) + "\n";
}

}  // namespace quarn
