#include "gamecheck/game_check.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "testutil/col_test_chunks.h"
#include "testutil/test_files.h"
#include "text/numbers.h"
#include "tools/samplegen/sample_game.h"

namespace quarn {
namespace {

const char kExtraIde[] = "data\\maps\\extra.ide";
const char kExtraIpl[] = "data\\maps\\extra.ipl";

// A generated sample game that each test breaks in its own way.
class GameCheckTest : public ::testing::Test {
 protected:
  GameCheckTest() : fs_(MakeNativeFileSystem()) {
    std::string error;
    EXPECT_TRUE(
        WriteSampleGame(NativePath(game()), SampleGameOptions(), &error))
        << error;
    plan_ = PlanSampleGame(SampleGameOptions());
  }

  std::string game() const { return folder_.path() + "game\\"; }

  CheckFindings Check(const CheckLimits& limits = CheckLimits()) {
    return CheckGame(*fs_, game(), limits);
  }

  // Every problem line, each ending in a line end.
  std::string Problems(const CheckLimits& limits = CheckLimits()) {
    std::string text;
    for (const CheckProblem& p : Check(limits).problems) {
      text += ProblemLine(p) + "\n";
    }
    return text;
  }

  // `line` goes into gta_vc.dat right before its first IPL line.
  void ListBeforeIpl(const std::string& line) {
    const std::string path = game() + "data\\gta_vc.dat";
    std::string list = ReadTestFile(path);
    list.insert(list.find("\nIPL ") + 1, line + "\r\n");
    WriteTestFile(path, list);
  }
  void ListLast(const std::string& line) {
    const std::string path = game() + "data\\gta_vc.dat";
    WriteTestFile(path, ReadTestFile(path) + line + "\r\n");
  }

  // A file of one section holding `lines`, CR LF line ends.
  static std::string SectionFile(const std::string& header,
                                 const std::vector<std::string>& lines) {
    std::string text = header + "\r\n";
    for (const std::string& line : lines) text += line + "\r\n";
    return text + "end\r\n";
  }

  void WriteGameFile(const std::string& path, const std::string& bytes) {
    WriteTestFile(game() + path, bytes);
  }

  // Appends a record named `name` of one sector, its data `data` at the
  // archive's end.
  void AddArchiveRecord(const std::string& name, std::string data) {
    std::string dir = ReadTestFile(game() + "models\\gta3.dir");
    std::string img = ReadTestFile(game() + "models\\gta3.img");
    const uint32_t offset = static_cast<uint32_t>(img.size() / 2048);
    std::string record(32, '\0');
    for (int i = 0; i < 4; ++i) {
      record[i] = static_cast<char>(offset >> (8 * i));
    }
    record[4] = 1;
    record.replace(8, std::min<size_t>(name.size(), 24), name.substr(0, 24));
    data.resize(2048, '\0');
    WriteTestFile(game() + "models\\gta3.dir", dir + record);
    WriteTestFile(game() + "models\\gta3.img", img + data);
  }

  const SampleObject& ObjectWithInfo() const {
    return plan_.areas[1].objects[0];
  }
  const SampleObject& ObjectWithoutInfo() const {
    return plan_.areas[1].objects[5];
  }

  TempFolder folder_;
  std::unique_ptr<FileSystem> fs_;
  SampleGamePlan plan_;
};

std::string InstLine(int id, const std::string& model) {
  return std::to_string(id) + ", " + model +
         ", 0, 1.0, 2.0, 3.0, 1, 1, 1, 0, 0, 0, 1";
}

TEST_F(GameCheckTest, TheSampleGameLoadsCleanly) {
  const CheckFindings findings = Check();
  EXPECT_EQ(0, CheckExitStatus(findings));
  EXPECT_EQ(TablesLine(findings) + "\ncheck: the game loads cleanly\n",
            CheckReportText(findings));
  EXPECT_EQ(5, findings.UseOf(Limit::kClumpModels));
  EXPECT_EQ(1, findings.UseOf(Limit::kCollisionSlots));
}

// Each model table, filled to its size by an extra IDE file and then passed
// by one line: only that line is reported, as a crash.
TEST_F(GameCheckTest, ModelTablesAtAndPastTheirSize) {
  struct Case {
    Limit limit;
    std::string header;
    std::function<std::string(int)> line;  // the n-th line, new ID 1000 + n
  };
  const std::string model_id = std::to_string(ObjectWithoutInfo().id);
  const Case cases[] = {
      {Limit::kSimpleModels, "objs",
       [](int n) {
         return std::to_string(1000 + n) + ", xs" + std::to_string(n) +
                ", generic, 1, 100, 0";
       }},
      {Limit::kTimeModels, "tobj",
       [](int n) {
         return std::to_string(1000 + n) + ", xt" + std::to_string(n) +
                ", generic, 1, 100, 0, 20, 6";
       }},
      {Limit::kClumpModels, "hier",
       [](int n) {
         return std::to_string(1000 + n) + ", xh" + std::to_string(n) +
                ", generic";
       }},
      {Limit::kWeaponModels, "weap",
       [](int n) {
         return std::to_string(1000 + n) + ", xw" + std::to_string(n) +
                ", generic, null, 1, 50, 0";
       }},
      {Limit::kPedModels, "peds",
       [](int n) {
         return std::to_string(1000 + n) + ", xp" + std::to_string(n) +
                ", generic, CIVMALE, "
                "STAT_STREET, man, 0, null, 9,9";
       }},
      {Limit::kVehicleModels, "cars",
       [](int n) {
         return std::to_string(1000 + n) + ", xv" + std::to_string(n) +
                ", generic, car, XV, XV, null, "
                "normal, 10, 7, 0, 225, 0.7";
       }},
      {Limit::kEffects, "2dfx",
       [model_id](int) {
         return model_id +
                ", 0, 0, 0, 255, 255, 255, 200, "
                "0, \"lightglow\", \"shadowfx\", 100, 0";
       }},
  };
  ListBeforeIpl(std::string("IDE ") + kExtraIde);
  for (const Case& c : cases) {
    const LimitSpec& spec = SpecOf(c.limit);
    SCOPED_TRACE(spec.name);
    WriteGameFile(kExtraIde, "");
    const int64_t room = spec.stock - Check().UseOf(c.limit);
    std::vector<std::string> lines;
    for (int n = 0; n < room; ++n) lines.push_back(c.line(n));
    WriteGameFile(kExtraIde, SectionFile(c.header, lines));
    EXPECT_EQ("", Problems());
    EXPECT_EQ(spec.stock, Check().UseOf(c.limit));
    lines.push_back(c.line(static_cast<int>(room)));
    WriteGameFile(kExtraIde, SectionFile(c.header, lines));
    EXPECT_EQ(std::string(kExtraIde) + ":" + std::to_string(room + 2) +
                  ": crashes: " + spec.label + " " +
                  FormatGrouped(spec.stock + 1) + " of at most " +
                  FormatGrouped(spec.stock) + " [" + spec.name + "]\n",
              Problems());
  }
}

// One IDE file breaking each line rule once, and a placement file using
// what it defines: the whole list of problems in loading order.
TEST_F(GameCheckTest, DefinitionAndPlacementLineRules) {
  ListBeforeIpl(std::string("IDE ") + kExtraIde);
  ListLast(std::string("IPL ") + kExtraIpl);
  WriteGameFile(
      kExtraIde,
      SectionFile("objs", {"1000, short, generic",
                           "1001, fourmesh, generic, 4, 1, 1, 1, 1, 0",
                           "240, builtin, generic, 1, 100, 0",
                           "6499, lastid, generic, 1, 100, 0",
                           "6500, pastid, generic, 1, 100, 0",
                           "1002, a_model_name_of_22_chr, "
                           "a_txd_name_of_21_char, 1, 100, 0",
                           "1003, twice, generic, 1, 100, 0",
                           "1003, again, generic, 1, 100, 0"}) +
          SectionFile("2dfx", {"1100, 0, 0, 0"}) +
          SectionFile("cars", {"1004, hover, generic, hovercraft"}) +
          SectionFile("peds", {"1005, walker, generic, CIVMALE, "
                               "STAT, moonwalk, 0, null, 9, 9"}) +
          SectionFile("weap", {"1006, tool, generic, null, 1, 50"}) +
          "OBJS\r\n1007, upper, generic, 1, 100, 0\r\nend\r\n");
  WriteGameFile(
      kExtraIpl,
      SectionFile("inst", {InstLine(6499, "lastid"), InstLine(1007, "upper"),
                           InstLine(1006, "tool"), InstLine(7000, "far"),
                           "1003, again, 1, 2, 3, 1, 1, 1, 0, 0, 0",
                           InstLine(1003, "again")}));
  EXPECT_EQ(
      "data\\maps\\extra.ide:2: drops it: an object line needs ID, model, "
      "texture dictionary and mesh count [ide-short-line]\n"
      "data\\maps\\extra.ide:3: crashes: mesh count 4 outside 1 to 3 "
      "[mesh-count]\n"
      "data\\maps\\extra.ide:4: crashes: model ID 240 is one the game builds "
      "in [built-in-id]\n"
      "data\\maps\\extra.ide:6: crashes: model ID 6500 outside 0 to 6,499 "
      "[model_ids]\n"
      "data\\maps\\extra.ide:7: cuts it: model name a_model_name_of_22_chr to "
      "its first 21 characters [model-name]\n"
      "data\\maps\\extra.ide:7: cuts it: texture dictionary name "
      "a_txd_name_of_21_char to its first 20 characters [txd-name]\n"
      "data\\maps\\extra.ide:9: loads another copy: model ID 1003 replaces "
      "twice of data\\maps\\extra.ide:8 [duplicate-id]\n"
      "data\\maps\\extra.ide:12: crashes: 2dfx entry for model ID 1100, which "
      "no line before it defines [2dfx-model]\n"
      "data\\maps\\extra.ide:15: fails to load: unknown vehicle type "
      "hovercraft [vehicle-type]\n"
      "data\\maps\\extra.ide:18: fails to load: unknown animation group "
      "moonwalk [ped-anim-group]\n"
      "data\\maps\\extra.ipl:3: drops it: inst of model ID 1007, which no "
      "IDE file defines [inst-undefined-id]\n"
      "data\\maps\\extra.ipl:4: crashes: inst of tool (ID 1006), which is "
      "not an objs or tobj model [inst-model-kind]\n"
      "data\\maps\\extra.ipl:5: crashes: model ID 7000 outside 0 to 6,499 "
      "[model_ids]\n"
      "data\\maps\\extra.ipl:6: misreads it: an inst line has 13 values (12 "
      "without the area), not 11 [inst-values]\n",
      Problems());
  EXPECT_EQ(6500, Check().UseOf(Limit::kModelIds));
}

// The placement pools and the cull zones, each filled to its size and then
// passed by one line.
TEST_F(GameCheckTest, PlacementPoolsAtAndPastTheirSize) {
  const struct {
    Limit limit;
    const char* header;
    std::string line;
  } cases[] = {
      {Limit::kDummies, "inst",
       InstLine(ObjectWithInfo().id, ObjectWithInfo().model)},
      {Limit::kBuildings, "inst",
       InstLine(ObjectWithoutInfo().id, ObjectWithoutInfo().model)},
      {Limit::kCullZones, "cull", "0, 0, 0, -10, -10, -10, 10, 10, 10, 0, 0"},
  };
  ListLast(std::string("IPL ") + kExtraIpl);
  for (const auto& c : cases) {
    const LimitSpec& spec = SpecOf(c.limit);
    SCOPED_TRACE(spec.name);
    WriteGameFile(kExtraIpl, "");
    const int64_t room = spec.stock - Check().UseOf(c.limit);
    std::vector<std::string> lines(static_cast<size_t>(room), c.line);
    WriteGameFile(kExtraIpl, SectionFile(c.header, lines));
    EXPECT_EQ("", Problems());
    EXPECT_EQ(spec.stock, Check().UseOf(c.limit));
    lines.push_back(c.line);
    WriteGameFile(kExtraIpl, SectionFile(c.header, lines));
    EXPECT_EQ(std::string(kExtraIpl) + ":" + std::to_string(room + 2) +
                  ": crashes: " + spec.label + " " +
                  FormatGrouped(spec.stock + 1) + " of at most " +
                  FormatGrouped(spec.stock) + " [" + spec.name + "]\n",
              Problems());
  }
  // A player whose pools were raised by other means.
  CheckLimits raised;
  raised.Set(Limit::kCullZones, 705);
  EXPECT_EQ("", Problems(raised));
}

}  // namespace
}  // namespace quarn
