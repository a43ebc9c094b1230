// What a check of a game folder found: the problems in the order the game
// meets them, the use of every fixed table, and the report's text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "gamecheck/check_limits.h"

namespace quarn {

/// What the game does with a problem.
enum class CheckEffect {
  kCrashes,         ///< the game crashes
  kFailsToLoad,     ///< the game stops with an error
  kDropsLine,       ///< a line or record is silently left out
  kCuts,            ///< only part of a line or name is read
  kMisreads,        ///< values are read wrong or from the wrong place
  kLoadsOtherCopy,  ///< another copy than the one meant is loaded
};

/// The word the report uses for `effect` ("crashes", "drops the line", ...).
const char* EffectWords(CheckEffect effect);

/// True when `effect` keeps the game from starting.
bool IsFatal(CheckEffect effect);

/// One problem, where the game meets it.
struct CheckProblem {
  std::string file;  ///< relative to the game folder, as it is named
  size_t line = 0;   ///< counted from 1 (records of gta3.dir too); 0: the file
  CheckEffect effect = CheckEffect::kCrashes;
  std::string what;  ///< what is wrong, in a few words
  std::string rule;  ///< the rule's name (a limit's name for a full table)
};

/// Everything one check found.
struct CheckFindings {
  std::vector<CheckProblem> problems;  ///< in the order the game meets them
  int64_t used[kLimitCount] = {};      ///< the use of each table
  CheckLimits limits;                  ///< the sizes checked against

  /// Adds a problem.
  void Add(const std::string& file, size_t line, CheckEffect effect,
           const std::string& what, const std::string& rule);
  /// Counts one more use of `limit`'s table, reporting the first use past
  /// its size as a crash at `file`:`line`.
  void Use(Limit limit, const std::string& file, size_t line);
  /// Raises `limit`'s figure to `value` when it is higher (the largest
  /// chunk, the highest ID), reporting the first figure past its size.
  void Reach(Limit limit, int64_t value, const std::string& file, size_t line);
  /// The use of `limit`.
  int64_t UseOf(Limit limit) const { return used[static_cast<int>(limit)]; }
};

/// 0 when the game would load cleanly, 1 when it would crash or fail to
/// load, 2 when it would load but drop or replace something.
int CheckExitStatus(const CheckFindings& findings);

/// One problem's report line: "FILE:LINE: EFFECT: WHAT [RULE]" (no ":LINE"
/// for a whole file).
std::string ProblemLine(const CheckProblem& problem);

/// The summary line of every table's use: "tables: model IDs 300 / 6,500,
/// ..., dummies 2,335 / 2,340, ...".
std::string TablesLine(const CheckFindings& findings);

/// The closing line: whether the game loads cleanly, and how many problems
/// of each kind there are.
std::string VerdictLine(const CheckFindings& findings);

/// The whole report: a line per problem, the tables line and the verdict,
/// each ending in a line end.
std::string CheckReportText(const CheckFindings& findings);

}  // namespace quarn
