#include "cli/run_game_checks.h"

#include <algorithm>
#include <memory>
#include <string>

#include "gamecheck/broken_rules.h"
#include "gamecheck/game_check.h"
#include "gamecheck/loaded_copies.h"
#include "platform/file_system_wrapper.h"
#include "text/ascii.h"

namespace quarn {
namespace {

bool Changes(const ModChangeSet& set, const std::string& file) {
  for (const ChangeFact& fact : set.facts) {
    if (fact.kind == FactKind::kFile && EqualsIgnoringCase(fact.file, file)) {
      return true;
    }
  }
  return false;
}

// The game below the overlay, as it was before the run: its files are read
// through the overlay, which may hold them open.
class OriginalGame : public FileSystemWrapper {
 public:
  OriginalGame(FileSystem& original, OverlayFileSystem& overlay)
      : FileSystemWrapper(original), overlay_(overlay) {}
  std::unique_ptr<File> Open(const std::string& path, OpenMode mode,
                             FsStatus* status) override {
    if (mode != OpenMode::kRead) return nullptr;
    std::unique_ptr<File> file = overlay_.OpenOriginal(path);
    if (status != nullptr) {
      *status = file ? FsStatus::kOkay : FsStatus::kNotFound;
    }
    return file;
  }

 private:
  OverlayFileSystem& overlay_;
};

struct RunChecks {
  const std::vector<ModChangeSet>& mods;
  const std::vector<CheckFindings>& after_each;
};

// For each mod of `game`, the rules its check had more problems of than
// `before`; nothing for the other games' mods.
std::vector<std::vector<std::string>> BrokenAfterEach(
    const RunChecks& run, const std::string& game,
    const CheckFindings& before) {
  std::vector<std::vector<std::string>> broken(run.mods.size());
  for (size_t i = 0; i < run.mods.size() && i < run.after_each.size(); ++i) {
    if (EqualsIgnoringCase(run.mods[i].game, game)) {
      broken[i] = NewlyBrokenRules(before, run.after_each[i]);
    }
  }
  return broken;
}

// The first mod after which `rule` was newly broken; failing that, the
// first of `game` that changed a file holding one in `now`.
std::string FirstBreaker(const RunChecks& run, const std::string& game,
                         const std::vector<std::vector<std::string>>& broken,
                         const CheckFindings& now, const std::string& rule) {
  for (size_t i = 0; i < broken.size(); ++i) {
    if (std::find(broken[i].begin(), broken[i].end(), rule) !=
        broken[i].end()) {
      return ModSetLabel(run.mods[i]);
    }
  }
  for (const ModChangeSet& set : run.mods) {
    if (!EqualsIgnoringCase(set.game, game)) continue;
    for (const CheckProblem& problem : now.problems) {
      if (problem.rule == rule && Changes(set, problem.file)) {
        return ModSetLabel(set);
      }
    }
  }
  return "";
}

GameCheckChanges CheckRunGame(FileSystem& below, OverlayFileSystem& overlay,
                              const RunChecks& run, const std::string& game) {
  OriginalGame original(below, overlay);
  const CheckFindings before = CheckGame(original, game, CheckLimits());
  GameCheckChanges check;
  check.game = game;
  check.findings = CheckAsTheRunLeavesIt(overlay, overlay, game);
  const std::vector<std::string> broken =
      NewlyBrokenRules(before, check.findings);
  const std::vector<std::vector<std::string>> broken_after_each =
      broken.empty() ? std::vector<std::vector<std::string>>()
                     : BrokenAfterEach(run, game, before);
  for (const std::string& rule : RulesOf(check.findings)) {
    BrokenRule entry;
    entry.rule = rule;
    entry.before_run =
        std::find(broken.begin(), broken.end(), rule) == broken.end();
    if (!entry.before_run) {
      entry.mod =
          FirstBreaker(run, game, broken_after_each, check.findings, rule);
    }
    check.broken.push_back(entry);
  }
  return check;
}

}  // namespace

CheckFindings CheckAsTheRunLeavesIt(OverlayFileSystem& overlay,
                                    FileSystem& view, const std::string& game) {
  CheckFindings findings = CheckGame(view, game, CheckLimits());
  const FileOpener before = [&overlay](const std::string& path) {
    return overlay.OpenOriginal(path);
  };
  const FileOpener after = [&view](const std::string& path) {
    return view.Open(path, OpenMode::kRead, nullptr);
  };
  for (CheckProblem& problem : ChangedLoadedCopies(before, after, game)) {
    findings.problems.push_back(std::move(problem));
  }
  return findings;
}

std::vector<GameCheckChanges> CheckRunGames(
    FileSystem& original, OverlayFileSystem& overlay,
    const std::vector<ModChangeSet>& mods,
    const std::vector<CheckFindings>& after_each) {
  const RunChecks run{mods, after_each};
  std::vector<GameCheckChanges> checks;
  for (const ModChangeSet& set : mods) {
    if (set.game.empty()) continue;
    bool seen = false;
    for (const GameCheckChanges& check : checks) {
      seen = seen || EqualsIgnoringCase(check.game, set.game);
    }
    if (!seen) checks.push_back(CheckRunGame(original, overlay, run, set.game));
  }
  return checks;
}

}  // namespace quarn
