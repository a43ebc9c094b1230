#include "cli/check_command.h"

#include <gtest/gtest.h>

#include "cli/quarn_cli_fixture.h"
#include "gamecheck/check_limits.h"
#include "gamecheck/game_check.h"
#include "testutil/test_files.h"
#include "text/lines.h"
#include "tools/samplegen/sample_game.h"

namespace quarn {
namespace {

class CheckCommandTest : public QuarnCliTest {
 protected:
  CheckCommandTest() {
    std::string error;
    EXPECT_TRUE(
        WriteSampleGame(NativePath(game()), SampleGameOptions(), &error));
    plan_ = PlanSampleGame(SampleGameOptions());
  }
  int Check(const std::vector<std::string>& more = {}) {
    std::vector<std::string> args = {"check", "--game", NativePath(game())};
    args.insert(args.end(), more.begin(), more.end());
    return Run(args);
  }
  // A placement file of `count` dummies, listed last.
  void AddDummies(int64_t count) {
    const SampleObject& object = plan_.areas[1].objects[0];
    std::string ipl = "inst\r\n";
    for (int64_t i = 0; i < count; ++i) {
      ipl += std::to_string(object.id) + ", " + object.model +
             ", 0, 1, 2, 3, 1, 1, 1, 0, 0, 0, 1\r\n";
    }
    WriteTestFile(game() + "data\\maps\\dummies.ipl", ipl + "end\r\n");
    const std::string list = game() + "data\\gta_vc.dat";
    WriteTestFile(list, ReadTestFile(list) + "IPL DATA\\MAPS\\dummies.ipl\r\n");
  }
  SampleGamePlan plan_;
};

// The report on stdout and the exit status for a clean game, a game with
// a warning, one that would crash, and the same with its limits raised.
TEST_F(CheckCommandTest, ExitStatusAndReportFollowTheWorstProblem) {
  EXPECT_EQ(0, Check());
  EXPECT_EQ(0u, out_.find("tables: model IDs "));
  EXPECT_NE(std::string::npos, out_.find(", dummies 15 / 2,340, "));
  EXPECT_EQ("\ncheck: the game loads cleanly\n", out_.substr(out_.find('\n')));
  EXPECT_EQ("", err_);

  const std::string list = game() + "data\\gta_vc.dat";
  const std::string lines = ReadTestFile(list);
  WriteTestFile(list, lines + "Ipl DATA\\MAPS\\more.ipl\r\n");
  EXPECT_EQ(2, Check());
  const size_t last = SplitLines(lines).size() + 1;
  EXPECT_EQ("data\\gta_vc.dat:" + std::to_string(last) +
                ": drops it: no line kind (EXIT, IDE, IPL, COLFILE, ...: "
                "upper case) begins \"Ipl\" [line-kind]\n",
            out_.substr(0, out_.find('\n') + 1));
  EXPECT_NE(std::string::npos,
            out_.find("\ncheck: the game loads but drops or replaces "
                      "something (0 problems that stop it, 1 warning)\n"));

  WriteTestFile(list, lines);
  AddDummies(2340 - 15 + 1);
  EXPECT_EQ(1, Check());
  EXPECT_EQ(
      "DATA\\MAPS\\dummies.ipl:2327: crashes: dummies 2,341 of at most "
      "2,340 [dummies]\n",
      out_.substr(0, out_.find('\n') + 1));
  EXPECT_NE(std::string::npos, out_.find(", dummies 2,341 / 2,340, "));
  EXPECT_NE(std::string::npos,
            out_.find("\ncheck: the game would crash or fail to load (1 "
                      "problem that stops it, 0 warnings)\n"));

  WriteTestFile(
      folder_.path() + "limits.ini",
      "; raised by a limit adjuster\r\n[limits]\r\ndummies = 4000\r\n");
  EXPECT_EQ(0, Check({"--limits", NativePath(folder_.path() + "limits.ini")}));
  EXPECT_NE(std::string::npos, out_.find(", dummies 2,341 / 4,000, "));
}

// A limits file with a name the check does not know, a bad value or no
// "=" is refused before anything is read; so is a folder without the game.
TEST_F(CheckCommandTest, BadLimitsFilesAndFoldersAreBadUsage) {
  const std::string limits = folder_.path() + "limits.ini";
  const struct {
    std::string bytes;
    std::string error;
  } cases[] = {
      {"dummies=2400\ndumies=2400\n", "line 2: unknown limit 'dumies'"},
      {"dummies=0\n",
       "line 1: the value of dummies is not a whole number "
       "from 1 up: '0'"},
      {"dummies=2,400\n",
       "line 1: the value of dummies is not a whole "
       "number from 1 up: '2,400'"},
      {"dummies\n", "line 1: not a name=value line"},
  };
  for (const auto& c : cases) {
    WriteTestFile(limits, c.bytes);
    EXPECT_EQ(kExitUsage, Check({"--limits", NativePath(limits)}));
    EXPECT_EQ("", out_);
    EXPECT_EQ("quarn: " + NativePath(limits) + ": " + c.error +
                  "\nTry 'quarn --help'.\n",
              err_);
  }
  EXPECT_EQ(kExitUsage, Run({"check", "--game", NativePath(folder_.path())}));
  EXPECT_EQ("quarn: not a game folder (no gta-vc.exe): " +
                NativePath(folder_.path()) + "\nTry 'quarn --help'.\n",
            err_);
  EXPECT_EQ(kExitUsage, Run({"check"}));
  EXPECT_EQ(kExitUsage, Run({"check", "--game", "x", "--limit", "y"}));
}

// Every limit of the stock table can be raised by its own name.
TEST(CheckLimitsFile, EveryStockLimitIsNamedOnce) {
  std::string bytes;
  for (const TableLimit& table : StockLimits()) {
    bytes += std::string(table.name) + "=" + std::to_string(table.stock + 1) +
             "\r\n";
  }
  CheckLimits limits;
  std::string error;
  ASSERT_TRUE(ReadLimitsFile(bytes, &limits, &error)) << error;
  for (const TableLimit& table : StockLimits()) {
    EXPECT_EQ(table.stock + 1, limits.Of(table.limit)) << table.name;
    EXPECT_EQ(table.stock, CheckLimits().Of(table.limit)) << table.name;
  }
}

}  // namespace
}  // namespace quarn
