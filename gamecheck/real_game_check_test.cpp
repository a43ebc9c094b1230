// The check of the real game's data, when a copy of it lies beside the
// repository (it is never committed).
#include <gtest/gtest.h>

#include <string>

#include "gamecheck/game_check.h"
#include "platform/file_system.h"

namespace quarn {
namespace {

// ../shared/realdata/vc from the repository's root, in engine form.
std::string RealGameFolder(FileSystem& fs) {
  std::string source = __FILE__;
  for (char& c : source) {
    if (c == '\\') c = '/';
  }
  const std::string root = source.substr(0, source.rfind("/gamecheck/"));
  return fs.AbsolutePath(root + "/../shared/realdata/vc") + "\\";
}

// What a missing-file problem says is missing, relative to the game.
std::string MissingPath(const CheckProblem& problem) {
  const std::string suffix = " is missing";
  const std::string& what = problem.what;
  if (what.size() > suffix.size() &&
      what.compare(what.size() - suffix.size(), suffix.size(), suffix) == 0) {
    return what.substr(0, what.size() - suffix.size());
  }
  return problem.file;
}

// The stock game sits at the edge of its tables, and its directory has one
// known gap. The copy lacks some files (the archive's data among them):
// each is reported missing, and nothing else is reported.
TEST(RealGameCheck, TheStockGameUsesItsTablesToTheEdgeWithOneKnownGap) {
  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  const std::string game = RealGameFolder(*fs);
  if (fs->AttributesOf(game + "gta-vc.exe") == kNoSuchFile) {
    GTEST_SKIP() << "no real game data in " << game;
  }
  const CheckFindings findings = CheckGame(*fs, game, CheckLimits());
  std::string others;
  for (const CheckProblem& problem : findings.problems) {
    if (problem.rule != "missing-file") {
      others += ProblemLine(problem) + "\n";
      continue;
    }
    const uint32_t attributes = fs->AttributesOf(game + MissingPath(problem));
    EXPECT_EQ(kNoSuchFile, attributes) << ProblemLine(problem);
  }
  EXPECT_EQ(
      "models\\gta3.dir:6043: misreads it: ap_ground1.txd starts 158 "
      "sectors after the end of airport.col, the record before it "
      "[archive-order]\n",
      others);
  const std::string tables = TablesLine(findings);
  for (const char* figure :
       {" dummies 2,335 / 2,340,", " collision slots 31 / 31,",
        " weapon models 37 / 37,", " clump models 5 / 5,",
        " archive models without a definition 234 / 256,"}) {
    EXPECT_NE(std::string::npos, tables.find(figure)) << figure;
  }
}

}  // namespace
}  // namespace quarn
