#include "gamecheck/game_check.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "testutil/col_test_chunks.h"
#include "testutil/test_files.h"
#include "text/lines.h"
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

  // The archive's directory and data, changed in memory and written back
  // in one go.
  struct Archive {
    std::string dir, img;

    // Appends a record `name` for `data` (filled to whole sectors), placed
    // `skip` sectors after the data's end; without `written` the data is
    // left out of gta3.img.
    void Add(const std::string& name, std::string data, uint32_t skip = 0,
             bool written = true) {
      const uint32_t offset = static_cast<uint32_t>(img.size() / 2048) + skip;
      const uint32_t sectors =
          static_cast<uint32_t>((data.size() + 2047) / 2048);
      std::string record(32, '\0');
      for (int i = 0; i < 4; ++i) {
        record[i] = static_cast<char>(offset >> (8 * i));
        record[4 + i] = static_cast<char>(sectors >> (8 * i));
      }
      record.replace(8, std::min<size_t>(name.size(), 24), name.substr(0, 24));
      dir += record;
      if (!written) return;
      data.resize(size_t{sectors} * 2048, '\0');
      img += std::string(size_t{skip} * 2048, '\0') + data;
    }
  };
  Archive ReadArchive() {
    return Archive{ReadTestFile(game() + "models\\gta3.dir"),
                   ReadTestFile(game() + "models\\gta3.img")};
  }
  void WriteArchive(const Archive& archive) {
    WriteTestFile(game() + "models\\gta3.dir", archive.dir);
    WriteTestFile(game() + "models\\gta3.img", archive.img);
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
    const TableLimit& table = TableLimitOf(c.limit);
    SCOPED_TRACE(table.name);
    WriteGameFile(kExtraIde, "");
    const int64_t room = table.stock - Check().UseOf(c.limit);
    std::vector<std::string> lines;
    for (int n = 0; n < room; ++n) lines.push_back(c.line(n));
    WriteGameFile(kExtraIde, SectionFile(c.header, lines));
    EXPECT_EQ("", Problems());
    EXPECT_EQ(table.stock, Check().UseOf(c.limit));
    lines.push_back(c.line(static_cast<int>(room)));
    WriteGameFile(kExtraIde, SectionFile(c.header, lines));
    EXPECT_EQ(std::string(kExtraIde) + ":" + std::to_string(room + 2) +
                  ": crashes: " + table.label + " " +
                  FormatGrouped(table.stock + 1) + " of at most " +
                  FormatGrouped(table.stock) + " [" + table.name + "]\n",
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
    const TableLimit& table = TableLimitOf(c.limit);
    SCOPED_TRACE(table.name);
    WriteGameFile(kExtraIpl, "");
    const int64_t room = table.stock - Check().UseOf(c.limit);
    std::vector<std::string> lines(static_cast<size_t>(room), c.line);
    WriteGameFile(kExtraIpl, SectionFile(c.header, lines));
    EXPECT_EQ("", Problems());
    EXPECT_EQ(table.stock, Check().UseOf(c.limit));
    lines.push_back(c.line);
    WriteGameFile(kExtraIpl, SectionFile(c.header, lines));
    EXPECT_EQ(std::string(kExtraIpl) + ":" + std::to_string(room + 2) +
                  ": crashes: " + table.label + " " +
                  FormatGrouped(table.stock + 1) + " of at most " +
                  FormatGrouped(table.stock) + " [" + table.name + "]\n",
              Problems());
  }
  // A player whose pools were raised by other means.
  CheckLimits raised;
  raised.Set(Limit::kCullZones, 705);
  EXPECT_EQ("", Problems(raised));
}

// The level lists' own rules and the game's way of reading text: LF alone
// ends a line (a CR-only file is one line), 255 characters are read, prefixes
// are case-sensitive, and every IDE line must come before the first IPL line.
TEST_F(GameCheckTest, LevelListsAndTheGamesTextReading) {
  const std::string definitions =
      "objs\r1000, crmodel, generic, 1, 100, 0\rend\r";
  WriteGameFile("data\\maps\\cr.ide", definitions);
  WriteGameFile("data\\maps\\lf.ide",
                "objs\n1001, lfmodel, generic, 1, 100, 0\nend\n");
  ListBeforeIpl("IDE DATA\\MAPS\\cr.ide");
  ListBeforeIpl("IDE DATA\\MAPS\\lf.ide");
  ListBeforeIpl("ide DATA\\MAPS\\lower.ide");
  ListBeforeIpl("IDE DATA\\MAPS\\none.ide");
  ListLast(std::string("IPL ") + kExtraIpl);
  ListLast("IDE DATA\\MAPS\\lf.ide");
  ListLast("CDIMAGE MODELS\\NONE.IMG");
  ListLast("IPL " + std::string(300, 'x'));
  WriteGameFile(kExtraIpl, SectionFile("inst", {InstLine(1000, "crmodel"),
                                                InstLine(1001, "lfmodel")}));
  const std::string list = "data\\gta_vc.dat:";
  const size_t first = 26;  // where the sample's first IPL line was
  EXPECT_EQ(
      list + std::to_string(first + 3) +
          ": drops it: no line kind (EXIT, IDE, IPL, COLFILE, ...: upper case) "
          "begins \"ide\" [line-kind]\n" +
          list + std::to_string(first + 4) +
          ": fails to load: DATA\\MAPS\\none.ide is missing [missing-file]\n"
          "data\\maps\\extra.ipl:2: drops it: inst of model ID 1000, which no "
          "IDE file defines [inst-undefined-id]\n" +
          list +
          "52: crashes: IDE line after the first IPL line, when the "
          "archive's directory is already read [ide-after-ipl]\n" +
          "DATA\\MAPS\\lf.ide:2: loads another copy: model ID 1001 replaces "
          "lfmodel of DATA\\MAPS\\lf.ide:2 [duplicate-id]\n" +
          list +
          "53: fails to load: MODELS\\NONE.IMG is missing "
          "[missing-file]\n" +
          list + "54: cuts it: the line past 255 characters [line-length]\n" +
          list + "54: fails to load: " + std::string(251, 'x') +
          " is missing [missing-file]\n",
      Problems());
}

// object.dat: its buffer at and past its size, the first "*" ending it
// wherever it stands, short entries, and the slots of distinct properties.
TEST_F(GameCheckTest, ObjectDatRules) {
  const std::string path = game() + "data\\object.dat";
  const std::string stock = ReadTestFile(path);
  const std::string head = stock.substr(0, stock.find('*'));
  const std::string tail = stock.substr(stock.find('*'));
  const int64_t room = 210 - Check().UseOf(Limit::kObjectInfo);
  std::string padding =
      ";" + std::string(55000 - stock.size() - 3, ' ') + "\r\n";
  WriteTestFile(path, head + padding + tail);
  EXPECT_EQ("", Problems());
  EXPECT_EQ(55000, Check().UseOf(Limit::kObjectDatBytes));
  WriteTestFile(path, head + padding + " " + tail);
  EXPECT_EQ(
      "data\\object.dat: crashes: object.dat bytes 55,001 of at most "
      "55,000 [object_dat_bytes]\n",
      Problems());

  std::string entries;
  for (int64_t n = 0; n <= room; ++n) {
    entries += "xo" + std::to_string(n) + ", " + std::to_string(n + 1) +
               ", 100, 0.99, 0.05, 50, 100, 1, 0, 0, 0\r\n";
  }
  WriteTestFile(path, "; a comment * that ends the file\r\n" + head +
                          "short, 1, 2\r\n" + entries + tail);
  const auto entries_in = [](const std::string& text) {
    int64_t count = 0;
    for (const std::string& line : SplitLines(text)) {
      if (!line.empty() && line[0] != ';') ++count;
    }
    return count;
  };
  EXPECT_EQ("data\\object.dat:1: drops it: the first * ends the file; " +
                FormatGrouped(entries_in(head) + room + 2) +
                " entries after it [object-dat-end]\n",
            Problems());
  WriteTestFile(path, head + "short, 1, 2\r\n" + entries + tail);
  const size_t short_line =
      static_cast<size_t>(std::count(head.begin(), head.end(), '\n')) + 1;
  EXPECT_EQ("data\\object.dat:" + std::to_string(short_line) +
                ": misreads it: an entry has 11 values, not 3 "
                "[object-dat-values]\n"
                "data\\object.dat:" +
                std::to_string(short_line + room) +
                ": crashes: object-info slots 211 of at most 210 "
                "[object_info]\n",
            Problems());
}

// The archive's directory: names, the data's order, the end of gta3.img,
// the models without a definition and the collision slots at and past their
// sizes, and the COL chunks of the files and of the archive.
TEST_F(GameCheckTest, ArchiveAndCollisionRules) {
  const CheckFindings sample = Check();
  Archive archive = ReadArchive();
  for (int64_t n = sample.UseOf(Limit::kUndefinedArchiveModels); n < 256; ++n) {
    archive.Add("nodef" + std::to_string(n) + ".dff", "model");
  }
  for (int64_t n = sample.UseOf(Limit::kCollisionSlots); n < 30; ++n) {
    archive.Add("area" + std::to_string(n) + ".col",
                TestColChunk("area", std::string(100, 'c')));
  }
  archive.Add("bigchunk.col", RawColChunk(54992, std::string(54992, 'b')));
  for (int64_t n = sample.UseOf(Limit::kTextureDictionaries); n < 1385; ++n) {
    archive.Add("tex" + std::to_string(n) + ".txd", "textures");
  }
  WriteArchive(archive);
  EXPECT_EQ("", Problems());
  EXPECT_EQ(55000, Check().UseOf(Limit::kColChunkBytes));
  const size_t records = archive.dir.size() / 32;
  archive.Add("onemore.dff", "model");
  archive.Add("onemore.col", TestColChunk("one", "c"));
  archive.Add("onemore.txd", "textures");
  archive.Add("cutname.dff" + std::string(13, 'x'), "model");
  archive.Add("abcdefghijklmnopqrst.df", "model");
  archive.Add("badchunk.col", "COLL" + std::string(8, '\xff'));
  archive.Add("hugechunk.col", RawColChunk(54993, std::string(54993, 'h')));
  archive.Add("gap.dff", "model", 3);
  archive.Add("pastend.dff", "model", 0, false);
  WriteArchive(archive);
  const auto at = [records](size_t n) {
    return "models\\gta3.dir:" + std::to_string(records + n) + ": ";
  };
  EXPECT_EQ(at(1) +
                "crashes: archive models without a definition 257 of at most "
                "256 [undefined_archive_models]\n" +
                at(2) +
                "crashes: collision slots 32 of at most 31 "
                "[collision_slots]\n" +
                at(3) +
                "crashes: texture dictionaries 1,386 of at most 1,385 "
                "[texture_dictionaries]\n" +
                at(4) +
                "cuts it: record name cutname.dffxxxxxxxxxxxxx to its first "
                "23 characters [archive-name-length]\n" +
                at(5) +
                "crashes: record name abcdefghijklmnopqrst.df has no dot "
                "within its first 20 characters [archive-name]\n" +
                at(6) +
                "crashes: a COLL chunk's size reaches past the end of its "
                "data [col-chunks]\n" +
                at(7) +
                "crashes: largest COL chunk bytes 55,001 of at most 55,000 "
                "[col_chunk_bytes]\n" +
                at(8) +
                "misreads it: gap.dff starts 3 sectors after the end of "
                "hugechunk.col, the record before it [archive-order]\n" +
                at(9) +
                "crashes: pastend.dff reaches past the end of "
                "models\\gta3.img [archive-end]\n",
            Problems());
}

}  // namespace
}  // namespace quarn
