#include "ipl/ipl_editor_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testutil/expected_log.h"
#include "testutil/script_run.h"
#include "testutil/single_mod_test.h"
#include "testutil/test_files.h"

namespace quarn {
namespace {

// A placement file as map files have them, with LF-only line ends in
// places, comments, a section the editor does not know, and path before
// pick.
const char kAreaIpl[] =
    "# IPL generated from Max file area.max\r\n"
    "inst\r\n"
    "100, kiosk, 0, 1.5, 2.5, 3.5, 1, 1, 1, 0, 0, 0, 1\r\n"
    "101, bench, 0, 4.5, 5.5, 6.5, 1, 1, 1, 0, 0, 0, 1\n"
    "end\n"
    "cull\r\n"
    "0, 0, 0, -10, -10, 0, 10, 10, 20, 1, 0\r\n"
    "end\r\n"
    "zone\r\n"
    "a_zone, 0, 0, 0, 0, 10, 10, 10, 1\r\n"
    "end\r\n"
    "path\r\n"
    "ped, 0, -1\r\n"
    "\t0, 0, 0, 0, 10.5, 0, 1, 1\r\n"
    "end\r\n"
    "PICK\r\n"
    "# weapons\r\n"
    "1, 2, 3, 4\r\n"
    "end\r\n";

std::string Log(const std::string& game, const std::vector<std::string>& body,
                bool succeeded) {
  return SingleModLog(game, body, succeeded);
}

class IplEditorTest : public SingleModTest {
 protected:
  IplEditorTest() { WriteTestFile(game() + "data\\maps\\area.ipl", kAreaIpl); }

  std::string Line(const std::string& what, const std::string& relative,
                   const std::string& outcome) const {
    return what + " IPL file: " + game() + relative + " ... " + outcome;
  }
};

TEST_F(IplEditorTest, EditsEverySectionAndWritesPickBeforePath) {
  WriteTestFile(game() + "data\\gta_vc.dat", "");
  WriteTestFile(game() + "data\\default.ide", "objs\r\n1, a\r\nend\r\n");
  const std::string log = RunScript(
      "IPL OPEN data\\maps\\area.ipl\n"
      "IDE OPEN data\\default.ide\n"
      "IPL ADD INST 102, lamp, 0, 7.5, 8.5, 9.5, 1, 1, 1, 0, 0, 0, 1\n"
      "ipl add pick 5, 6, 7, 8\n"
      "IPL ADD PATH car, 1, -1\n"
      "IPL ADD CULL 9, 9, 9\n"
      "IDE CLOSE\n"
      "IPL DEL INST 100, kiosk, 0, 1.5, 2.5, 3.5, 1, 1, 1, 0, 0, 0, 1\n"
      "IPL DEL 0, 0*\n"
      "IPL DEL Cull 9, 9, 9\n"
      "IPL DEL ped, 0, -1\n"
      "IPL DEL a_zone*\n"
      "IPL CLOSE");

  EXPECT_EQ(
      Log(game(),
          {Line("Opening", "data\\maps\\area.ipl", "ok"),
           "Scanning IDE files...", "- Opening the 'gta_vc.dat' file... ok",
           "-- Scanning IDE file: " + game() + "data\\default.ide ... ok",
           "Done scanning IDE files",
           "Opening IDE file: " + game() + "data\\default.ide ... ok",
           "Rewriting IDE file: " + game() + "data\\default.ide ... done",
           "Deleting IPL entry: 100, kiosk, 0, 1.5, 2.5, 3.5, 1, 1, 1, 0, 0, "
           "0, 1",
           "Deleting IPL entry: 0, 0*", "Deleting IPL entry: 9, 9, 9",
           "Deleting IPL entry: ped, 0, -1", "Deleting IPL entry: a_zone*",
           Line("Rewriting", "data\\maps\\area.ipl", "ok")},
          true),
      log);
  EXPECT_EQ(
      "inst\r\n"
      "101, bench, 0, 4.5, 5.5, 6.5, 1, 1, 1, 0, 0, 0, 1\r\n"
      "102, lamp, 0, 7.5, 8.5, 9.5, 1, 1, 1, 0, 0, 0, 1\r\n"
      "end\r\n"
      "cull\r\n"
      "end\r\n"
      "pick\r\n"
      "1, 2, 3, 4\r\n"
      "5, 6, 7, 8\r\n"
      "end\r\n"
      "path\r\n"
      "\t0, 0, 0, 0, 10.5, 0, 1, 1\r\n"
      "car, 1, -1\r\n"
      "end\r\n",
      ReadTestFile(game() + "data\\maps\\area.ipl"));
  EXPECT_EQ(
      "objs\r\n1, a\r\nend\r\ntobj\r\nend\r\npath\r\nend\r\n2dfx\r\n"
      "end\r\n",
      ReadTestFile(game() + "data\\default.ide"));
  // The placement editor claims no object IDs.
  EXPECT_TRUE(run_.context().ObjectIds.IsUsed(1));
  EXPECT_FALSE(run_.context().ObjectIds.IsUsed(100));
}

TEST_F(IplEditorTest, CreateReplacesAFileUnreadAndAddsFromTheMod) {
  ASSERT_TRUE(run_.fs().SetAttributes(game() + "data\\maps\\area.ipl",
                                      kAttrReadOnly | kAttrHidden));
  WriteTestFile(mod() + "placements.ipl",
                "inst\n200, shop, 0, 1, 2, 3, 1, 1, 1, 0, 0, 0, 1\nend\n"
                "pick\n9, 9, 9, 9\n");
  EXPECT_EQ(Log(game(),
                {Line("Creating", "data\\maps\\area.ipl", "ok"),
                 "Adding from IPL file: " + mod() + "placements.ipl",
                 Line("Rewriting", "data\\maps\\area.ipl", "ok")},
                true),
            RunScript("IPL CREATE data\\maps\\area.ipl\n"
                      "IPL ADDFILE placements.ipl\n"
                      "IPL ADD CULL 1, 1\n"
                      "IPL CLOSE"));
  EXPECT_EQ(
      "inst\r\n200, shop, 0, 1, 2, 3, 1, 1, 1, 0, 0, 0, 1\r\nend\r\n"
      "cull\r\n1, 1\r\nend\r\npick\r\n9, 9, 9, 9\r\nend\r\npath\r\nend\r\n",
      ReadTestFile(game() + "data\\maps\\area.ipl"));
}

TEST(IplEditorCreate, MissingFolderFailsAtCloseAndAFolderIsRefused) {
  ScriptRun run;
  run.WriteScript(
      "IPL CREATE data\\new\\new.ipl\nIPL ADD INST 1\nIPL CLOSE\nPRINT never");
  EXPECT_EQ(
      Log(run.game(),
          {"Creating IPL file: " + run.game() + "data\\new\\new.ipl ... ok",
           "Rewriting IPL file: " + run.game() +
               "data\\new\\new.ipl ... failed"},
          false),
      run.Run());
  EXPECT_FALSE(TestPathExists(run.game() + "data"));

  ScriptRun folder;
  MakeTestFolder(folder.game() + "data\\maps.ipl");
  folder.WriteScript("IPL CREATE data\\maps.ipl\nIPL CLOSE");
  EXPECT_EQ(Log(folder.game(),
                {"Creating IPL file: " + folder.game() +
                 "data\\maps.ipl ... Access denied"},
                false),
            folder.Run());
}

// `count` lines for a section, numbered from `first`.
std::string Lines(int count, int first) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    text += std::to_string(first + i) + ", 0, 0, 0\r\n";
  }
  return text;
}

std::string Section(const std::string& keyword, const std::string& lines) {
  return keyword + "\r\n" + lines + "end\r\n";
}

TEST(IplEditorLimits, EachSectionHoldsItsLimitDeletedLinesIncluded) {
  struct Limit {
    const char* keyword;
    int most;
  };
  for (const Limit& limit : {Limit{"inst", 19997}, Limit{"cull", 4997},
                             Limit{"path", 29997}, Limit{"pick", 1895}}) {
    const std::string keyword = limit.keyword;
    ScriptRun run;
    const std::string& game = run.game();
    WriteTestFile(game + "base.ipl", Section(keyword, Lines(1, 0)));
    WriteTestFile(run.installer() + "many.ipl",
                  Section(keyword, Lines(limit.most - 2, 1)));
    run.WriteScript("IPL OPEN base.ipl\nIPL ADDFILE many.ipl\nIPL ADD " +
                    keyword + " last\nIPL DEL last\nIPL ADD " + keyword +
                    " over");
    EXPECT_EQ(
        Log(game,
            {"Opening IPL file: " + game + "base.ipl ... ok",
             "Adding from IPL file: " + run.installer() + "many.ipl",
             "Deleting IPL entry: last", "ERROR: IPL editor out of memory"},
            false),
        run.Run())
        << keyword;

    ScriptRun whole;
    WriteTestFile(whole.game() + "exact.ipl",
                  Section(keyword, Lines(limit.most, 0)));
    WriteTestFile(whole.game() + "over.ipl",
                  Section(keyword, Lines(limit.most + 1, 0)));
    whole.WriteScript("IPL OPEN exact.ipl\nIPL CLOSE\nIPL OPEN over.ipl");
    EXPECT_EQ(Log(whole.game(),
                  {"Opening IPL file: " + whole.game() + "exact.ipl ... ok",
                   "Rewriting IPL file: " + whole.game() + "exact.ipl ... ok",
                   "Opening IPL file: " + whole.game() +
                       "over.ipl ... ERROR: IPL editor out of memory"},
                  false),
              whole.Run())
        << keyword;
    std::string written;
    for (const char* block : {"inst", "cull", "pick", "path"}) {
      written += Section(block, block == keyword ? Lines(limit.most, 0) : "");
    }
    EXPECT_EQ(written, ReadTestFile(whole.game() + "exact.ipl")) << keyword;
  }
}

TEST(IplEditorOrder, CommandsOutOfOrderFailWithTheirMessages) {
  struct Case {
    std::string script;
    std::vector<std::string> body;  // between the game line and the banner
  };
  // Cases for the game folder `g`.
  const auto cases = [](const std::string& g) {
    const std::string opened = "Opening IPL file: " + g + "a.ipl ... ok";
    const std::string too_long(260 - g.size(), 'a');
    return std::vector<Case>{
        {"IPL ADD INST 1", {"ERROR: IPL file not open"}},
        {"IPL ADDFILE a.ipl", {"ERROR: IPL file not open"}},
        {"IPL DEL 1", {"Deleting IPL entry:  ", "ERROR: IPL file not open"}},
        {"IPL CLOSE",
         {"Rewriting IPL file:  ...  ", "ERROR: IPL file not open"}},
        {"IPL OPEN a.ipl\nIPL OPEN a.ipl",
         {opened, "ERROR: IPL file already open"}},
        {"IPL OPEN a.ipl\nIPL CREATE b.ipl",
         {opened, "ERROR: IPL file already open"}},
        {"IPL OPEN a.ipl\nIPL DEL PICK *",
         {opened, "Deleting IPL entry: *", "Invalid search string"}},
        {"IPL OPEN a.ipl\nIPL ADDFILE none.ipl",
         {opened,
          "Adding from IPL file: " + g.substr(0, g.size() - 5) + "none.ipl",
          "File not found"}},
        {"IPL OPEN none.ipl",
         {"Opening IPL file: " + g + "none.ipl ... File not found"}},
        {"IPL OPEN a.ipl\nIPL OPEN c:a.ipl",
         {opened, "Script error: Colon not allowed in IPL OPEN"}},
        {"IPL OPEN \\a.ipl",
         {"Script error: Root specifier not allowed in IPL OPEN"}},
        {"IPL OPEN a.ipl\nIPL CREATE ..\\a.ipl",
         {opened, "Script error: .. not allowed in IPL CREATE"}},
        {"IPL CREATE D:\\a.ipl",
         {"Script error: Colon not allowed in IPL CREATE"}},
        {"IPL CREATE \\\\server\\a.ipl",
         {"Script error: Root specifier not allowed in IPL CREATE"}},
        {"IPL CREATE " + too_long,
         {"Path too long in IPL CREATE: " + g + too_long}},
    };
  };
  for (size_t i = 0;; ++i) {
    ScriptRun run;
    const std::vector<Case> all = cases(run.game());
    if (i == all.size()) break;
    WriteTestFile(run.game() + "a.ipl", kAreaIpl);
    run.WriteScript(all[i].script);
    EXPECT_EQ(Log(run.game(), all[i].body, false), run.Run()) << all[i].script;
    EXPECT_EQ(kAreaIpl, ReadTestFile(run.game() + "a.ipl"));
  }
}

TEST(IplEditorOrder, ScriptedRunWithoutGameFolderTouchesNothing) {
  for (const char* line :
       {"IPL OPEN a.ipl", "IPL CREATE a.ipl", "IPL ADD INST 1",
        "IPL ADDFILE a.ipl", "IPL DEL a", "IPL CLOSE"}) {
    ScriptRun run;
    run.context().ChosenPath = kScriptedPath;
    run.WriteScript(line);
    EXPECT_EQ("Install path unknown\r\n" + FailedBanner(), run.Run()) << line;
  }
}

}  // namespace
}  // namespace quarn
