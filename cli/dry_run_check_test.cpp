// The check at the end of a dry run's report and after a real install: a
// game at the edge of its dummy pool, a mod that changes nothing there and
// one that adds six dummies, which the report names.
#include <gtest/gtest.h>

#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/quarn_cli_fixture.h"
#include "testutil/test_files.h"
#include "text/lines.h"
#include "tools/samplegen/sample_game.h"

namespace quarn {
namespace {

std::string Dummies(const SampleObject& object, int count) {
  std::string ipl = "inst\r\n";
  for (int i = 0; i < count; ++i) {
    ipl += std::to_string(object.id) + ", " + object.model +
           ", 0, 1, 2, 3, 1, 1, 1, 0, 0, 0, 1\r\n";
  }
  return ipl + "end\r\n";
}

class DryRunCheckTest : public QuarnCliTest {
 protected:
  DryRunCheckTest() {
    std::string error;
    EXPECT_TRUE(
        WriteSampleGame(NativePath(game()), SampleGameOptions(), &error));
    const SampleGamePlan plan = PlanSampleGame(SampleGameOptions());
    const SampleObject& object = plan.areas[1].objects[0];
    // The sample has 15 dummies; the stock game uses 2,335 of 2,340.
    WriteTestFile(game() + "data\\maps\\stock.ipl", Dummies(object, 2320));
    const std::string list = game() + "data\\gta_vc.dat";
    WriteTestFile(list, ReadTestFile(list) + "IPL DATA\\MAPS\\stock.ipl\r\n");
    WriteTestFile(setup() + "X1\\InsName.txt", "Read me\r\n");
    WriteTestFile(setup() + "X1\\QuarnInstall.txt",
                  "COPY \"readme.txt\" TO \"readme.txt\"\r\n");
    WriteTestFile(setup() + "X1\\readme.txt", "hello\r\n");
    WriteTestFile(setup() + "X2\\InsName.txt", "Six dummies\r\n");
    WriteTestFile(setup() + "X2\\six.ipl", Dummies(object, 6));
    WriteTestFile(setup() + "X2\\QuarnInstall.txt",
                  "COPY six.ipl TO data\\maps\\six.ipl\r\n"
                  "GTA_VC.DAT OPEN\r\n"
                  "GTA_VC.DAT ADD IPL DATA\\MAPS\\six.ipl\r\n"
                  "GTA_VC.DAT CLOSE\r\n");
  }
  std::string setup() const { return folder_.path() + "setup\\"; }
  // The lines of the report's check of the game, up to the notes that may
  // follow (on Windows: the folders no probe could check).
  std::vector<std::string> CheckSection() const {
    const std::string heading =
        "Check of the game in " + game() + " as the run would leave it:\n";
    const size_t at = err_.find(heading);
    if (at == std::string::npos) return {};
    const size_t start = at + heading.size();
    const size_t notes = err_.find("\nquarn: ", start);
    return SplitLines(err_.substr(start, notes == std::string::npos
                                             ? std::string::npos
                                             : notes + 1 - start));
  }
  int Install(std::vector<std::string> more) {
    std::vector<std::string> args = {"install", "--dir", NativePath(setup()),
                                     "--game", NativePath(game())};
    args.insert(args.end(), more.begin(), more.end());
    return Run(args);
  }
};

TEST_F(DryRunCheckTest, TheReportEndsWithTheCheckAndNamesTheModThatBrokeIt) {
  EXPECT_EQ(kExitAllDone, Install({"--dry-run"}));
  const std::vector<std::string> lines = CheckSection();
  ASSERT_EQ(4u, lines.size()) << err_;
  EXPECT_EQ(
      "  DATA\\MAPS\\SIX.IPL:7: crashes: dummies 2,341 of at most 2,340 "
      "[dummies]",
      lines[0]);
  EXPECT_NE(std::string::npos, lines[1].find(", dummies 2,341 / 2,340, "));
  EXPECT_EQ(
      "  check: the game would crash or fail to load (1 problem that "
      "stops it, 0 warnings)",
      lines[2]);
  EXPECT_EQ("  dummies: first broken by X2 (Six dummies)", lines[3]);

  EXPECT_EQ(kExitAllDone, Install({"--dry-run", "--report", "json"}));
  const nlohmann::json check = nlohmann::json::parse(err_)["checks"][0];
  EXPECT_EQ(game(), check["game"]);
  EXPECT_EQ(1, check["exit_status"]);
  const nlohmann::json broken = {{{"rule", "dummies"},
                                  {"before_run", false},
                                  {"first_broken_by", "X2 (Six dummies)"}}};
  EXPECT_EQ(broken, check["broken_rules"]);
  EXPECT_EQ(lines[0].substr(2), check["problems"][0]["text"]);
  EXPECT_EQ("dummies", check["problems"][0]["rule"]);
  EXPECT_EQ(true, check["problems"][0]["fatal"]);
  const nlohmann::json table = {{"name", "dummies"},
                                {"label", "dummies"},
                                {"used", 2341},
                                {"limit", 2340}};
  EXPECT_EQ(table, check["tables"][12]);
}

// A real install prints the check's summary after the banner, on stderr,
// only when it broke a rule; the log is the same as without it.
TEST_F(DryRunCheckTest, ARealInstallThatBreaksARuleSaysSoOnStderr) {
  EXPECT_EQ(kExitAllDone, Install({"--mods", "X1"}));
  EXPECT_EQ("", err_);
  EXPECT_EQ(kExitAllDone, Install({"--mods", "X2"}));
  EXPECT_EQ(ReadTestFile(setup() + "QuarnInstall-log.txt"), out_);
  EXPECT_EQ(0u, err_.find("quarn: this install broke dummies; check: the "
                          "game would crash or fail to load (1 problem that "
                          "stops it, 0 warnings)\ntables: model IDs "))
      << err_;
  EXPECT_NE(std::string::npos, err_.find(", dummies 2,341 / 2,340, "));
  // The command it points to can be typed as it stands, on every platform.
  std::string folder = NativePath(game());
  folder.pop_back();
  const std::string hint =
      "quarn: quarn check --game " + folder + " lists every problem\n";
  EXPECT_EQ(err_.size() - hint.size(), err_.rfind(hint)) << err_;

  // A file listed anew is the install's doing, though it was there before.
  WriteTestFile(setup() + "X4\\QuarnInstall.txt",
                "GTA_VC.DAT OPEN\r\nGTA_VC.DAT ADD IDE DATA\\DEFAULT.IDE\r\n"
                "GTA_VC.DAT CLOSE\r\n");
  EXPECT_EQ(kExitAllDone, Install({"--mods", "X4"}));
  // Its definitions come a second time: the tables of five clump and 37
  // weapon models overflow, where the peds and cars still have room.
  EXPECT_EQ(0u, err_.find("quarn: this install broke duplicate-id, "
                          "weapon_models, clump_models; check: the game "
                          "would crash or fail to load ("))
      << err_;
}

// Appends a record `name` of one sector holding `data` to the game's
// archive.
void AddRecord(const std::string& game, const std::string& name,
               std::string data) {
  const std::string dir_path = game + "models\\gta3.dir";
  const std::string img_path = game + "models\\gta3.img";
  const std::string img = ReadTestFile(img_path);
  const uint32_t offset = static_cast<uint32_t>(img.size() / 2048);
  std::string record(32, '\0');
  for (int i = 0; i < 4; ++i) record[i] = static_cast<char>(offset >> (8 * i));
  record[4] = 1;
  record.replace(8, name.size(), name);
  data.resize(2048, '\0');
  WriteTestFile(dir_path, ReadTestFile(dir_path) + record);
  WriteTestFile(img_path, img + data);
}

// IMG DELDUP keeps the last of two records with one name where the game
// loads the first: where their bytes differ, the report says the game now
// loads another copy, and which mod made it so; where they are the same,
// nothing changes for the game.
TEST_F(DryRunCheckTest, ADelDupThatChangesTheLoadedCopyIsReported) {
  const size_t records = ReadTestFile(game() + "models\\gta3.dir").size() / 32;
  AddRecord(game(), "twin.dff", "first copy");
  AddRecord(game(), "same.txd", "one texture");
  AddRecord(game(), "twin.dff", "second copy");
  AddRecord(game(), "same.txd", "one texture");
  WriteTestFile(setup() + "X3\\InsName.txt", "Tidy archive\r\n");
  WriteTestFile(setup() + "X3\\QuarnInstall.txt",
                "IMG OPENDEF\r\nIMG DELDUP\r\nIMG CLOSE\r\n");
  EXPECT_EQ(kExitAllDone, Install({"--mods", "X1,X3", "--dry-run"}));
  const std::vector<std::string> lines = CheckSection();
  ASSERT_EQ(4u, lines.size()) << err_;
  // The rebuild leaves the kept copies last, in their order.
  EXPECT_EQ("  models\\gta3.dir:" + std::to_string(records + 1) +
                ": loads another copy: twin.dff: the copy of record " +
                std::to_string(records + 3) + ", not of record " +
                std::to_string(records + 1) + " (the first) [loaded-copy]",
            lines[0]);
  EXPECT_EQ(
      "  check: the game loads but drops or replaces something (0 "
      "problems that stop it, 1 warning)",
      lines[2]);
  EXPECT_EQ("  loaded-copy: first broken by X3 (Tidy archive)", lines[3]);
}

}  // namespace
}  // namespace quarn
