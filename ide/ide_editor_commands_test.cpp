#include "ide/ide_editor_commands.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/faulty_file_system.h"
#include "testutil/expected_log.h"
#include "testutil/script_run.h"
#include "testutil/single_mod_test.h"
#include "testutil/test_files.h"
#include "testutil/used_ids.h"

namespace quarn {
namespace {

// A map area's definitions as the game ships them: comments, a section the
// editor does not know, a section missing and one without its "end".
const char kAreaIde[] =
    "# Area definitions\r\n"
    "objs\r\n"
    "100, kiosk, generic, 1, 150, 0\r\n"
    "  101, bench,  generic, 1, 150, 0  \r\n"
    "end\r\n"
    "\r\n"
    "anim\r\n"
    "103, dancer, generic, 1, 150, 0\r\n"
    "end\r\n"
    "TOBJ\r\n"
    "# lit at night\r\n"
    "102, lamp, generic, 1, 150, 0, 20, 6\r\n"
    "End\r\n"
    "2dfx\r\n"
    "100, 0, 0, 3.5, 255, 200, 120, 200, 0, \"lightglow\"\r\n";

// The game's default definitions: the layout with a "peds" section, here
// with its sections in another order than they are written back.
const char kDefaultIde[] =
    "# default definitions\r\n"
    "cars\r\n"
    "90, cheetah, cheetah, car, CHEETAH\r\n"
    "end\r\n"
    "hier\r\n"
    "30, cutobj01, generic\r\n"
    "end\r\n"
    "weap\r\n"
    "20, colt45, colt45, colt45, 1, 30, 0\r\n"
    "end\r\n"
    "objs\r\n"
    "10, wheel, generic, 1, 20, 0\r\n"
    "end\r\n"
    "peds\r\n"
    "1, male01, null, CIVMALE, STAT_STREET_GUY\r\n"
    "end\r\n";

// Writes the listed map file, the default definitions and the list.
void WriteGame(const std::string& game) {
  WriteTestFile(game + "data\\gta_vc.dat",
                "IDE DATA\\MAPS\\AREA.IDE\r\nIMG DATA\\MAPS\\AREA.IMG\r\n");
  WriteTestFile(game + "data\\maps\\area.ide", kAreaIde);
  WriteTestFile(game + "data\\default.ide", kDefaultIde);
}

// Writes a game whose scan finds no definitions, with the IDE file
// data\a.ide that the list does not name.
void WriteBareGame(const std::string& game, const std::string& a_ide) {
  WriteTestFile(game + "data\\gta_vc.dat", "");
  WriteTestFile(game + "data\\default.ide", "");
  WriteTestFile(game + "data\\a.ide", a_ide);
}

// The log lines of the full scan of that game, then `lines`.
std::vector<std::string> Scanned(const std::string& game,
                                 const std::vector<std::string>& lines) {
  std::vector<std::string> log = {
      "Scanning IDE files...", "- Opening the 'gta_vc.dat' file... ok",
      "-- Scanning IDE file: " + game + "DATA\\MAPS\\AREA.IDE ... ok",
      "-- Scanning IDE file: " + game + "data\\default.ide ... ok",
      "Done scanning IDE files"};
  log.insert(log.end(), lines.begin(), lines.end());
  return log;
}

std::string Opening(const std::string& game, const std::string& relative,
                    const std::string& outcome) {
  return "Opening IDE file: " + game + relative + " ... " + outcome;
}

std::string Rewriting(const std::string& game, const std::string& relative,
                      const std::string& outcome) {
  return "Rewriting IDE file: " + game + relative + " ... " + outcome;
}

// The log from the first line that begins with `start` on.
std::string LogFrom(const std::string& log, const std::string& start) {
  const size_t at = log.find(start);
  return at == std::string::npos ? "<not found: " + start + ">"
                                 : log.substr(at);
}

// A file of `count` objs definitions with IDs from `first_id` on.
std::string ManyObjects(int count, int first_id) {
  std::string text = "objs\r\n";
  for (int i = 0; i < count; ++i) {
    text += std::to_string(first_id + i) + ", m" + std::to_string(i) + "\r\n";
  }
  return text + "end\r\n";
}

class IdeEditorTest : public SingleModTest {
 protected:
  IdeEditorTest() { WriteGame(game()); }

  std::vector<std::string> Scanned(const std::vector<std::string>& lines) {
    return quarn::Scanned(game(), lines);
  }
  std::string Opening(const std::string& relative, const std::string& outcome) {
    return quarn::Opening(game(), relative, outcome);
  }
  std::string Rewriting(const std::string& relative,
                        const std::string& outcome) {
    return quarn::Rewriting(game(), relative, outcome);
  }
  std::string Log(const std::vector<std::string>& body, bool succeeded) const {
    return SingleModLog(game(), body, succeeded);
  }
  std::vector<int> Used() { return UsedIds(run_.context().ObjectIds); }
};

TEST_F(IdeEditorTest, EditsBothLayoutsAndKeepsTheRegistryUpToDate) {
  const std::string long_line = "106, " + std::string(600, 'x');
  const std::string log = RunScript(
      "IDE OPEN data\\maps\\area.ide\n"
      "IDE ADD OBJS 104, newkiosk, generic, 1, 150, 0\n"
      "ide add path 0, 1, 2\n"
      "IDE ADD 2DFX 104, 0, 0, 2.5\n"
      "IDE ADD PEDS 105, mapped, null, CIVMALE\n"
      "IDE ADD OBJS " +
      long_line +
      "\n"
      "IDE DEL OBJS 100, kiosk, generic, 1, 150, 0\n"
      "IDE CLOSE\n"
      "IDE OPEN DATA\\DEFAULT.IDE\n"
      "IDE ADD WEAP 21, python, python, python, 1, 30, 0\n"
      "IDE ADD TOBJ 22, hidden, generic, 1, 30, 0, 20, 6\n"
      "IDE ADD 2DFX 10, 0, 0, 1\n"
      "IDE CLOSE");

  EXPECT_EQ(Log(Scanned({Opening("data\\maps\\area.ide", "ok"),
                         "Deleting IDE entry: 100, kiosk, generic, 1, 150, 0",
                         Rewriting("data\\maps\\area.ide", "done"),
                         Opening("DATA\\DEFAULT.IDE", "ok"),
                         Rewriting("DATA\\DEFAULT.IDE", "done")}),
                true),
            log);
  EXPECT_EQ(
      "objs\r\n"
      "101, bench,  generic, 1, 150, 0\r\n"
      "104, newkiosk, generic, 1, 150, 0\r\n" +
          long_line.substr(0, 499) +
          "\r\n"
          "end\r\n"
          "tobj\r\n"
          "102, lamp, generic, 1, 150, 0, 20, 6\r\n"
          "end\r\n"
          "path\r\n"
          "0, 1, 2\r\n"
          "end\r\n"
          "2dfx\r\n"
          "100, 0, 0, 3.5, 255, 200, 120, 200, 0, \"lightglow\"\r\n"
          "104, 0, 0, 2.5\r\n"
          "end\r\n",
      ReadTestFile(game() + "data\\maps\\area.ide"));
  EXPECT_EQ(
      "peds\r\n"
      "1, male01, null, CIVMALE, STAT_STREET_GUY\r\n"
      "end\r\n"
      "cars\r\n"
      "90, cheetah, cheetah, car, CHEETAH\r\n"
      "end\r\n"
      "objs\r\n"
      "10, wheel, generic, 1, 20, 0\r\n"
      "end\r\n"
      "weap\r\n"
      "20, colt45, colt45, colt45, 1, 30, 0\r\n"
      "21, python, python, python, 1, 30, 0\r\n"
      "end\r\n"
      "hier\r\n"
      "30, cutobj01, generic\r\n"
      "end\r\n",
      ReadTestFile(game() + "data\\default.ide"));
  // The peds line of the map file and the tobj line of the default file
  // were not written, but their IDs stay claimed for the run; the unknown
  // section claimed nothing; the deleted line gave its ID back.
  EXPECT_EQ(
      std::vector<int>({1, 10, 20, 21, 22, 30, 90, 101, 102, 104, 105, 106}),
      Used());
  std::vector<FolderEntry> entries;
  run_.fs().ListFolder(game() + "data\\maps\\", &entries);
  EXPECT_EQ(3u, entries.size()) << "no temporary file left";
}

TEST(IdeEditorIds, EverySectionWithIdsRefusesAnIdInUse) {
  // Each used ID comes from another file: the scanned map file's objs, or
  // the default definitions' cars and hier.
  for (const char* section : {"OBJS", "TOBJ", "PEDS", "CARS", "WEAP", "HIER"}) {
    for (const char* id : {"101", "90", "30"}) {
      ScriptRun run;
      WriteGame(run.game());
      WriteTestFile(run.game() + "data\\maps\\new.ide", "objs\r\nend\r\n");
      run.WriteScript("IDE OPEN data\\maps\\new.ide\nIDE ADD " +
                      std::string(section) + " " + id + ", clash\nIDE CLOSE");
      EXPECT_EQ(SingleModLog(
                    run.game(),
                    Scanned(run.game(),
                            {Opening(run.game(), "data\\maps\\new.ide", "ok"),
                             "ERROR: Object ID  " + std::string(id) +
                                 " already used"}),
                    false),
                run.Run())
          << section << " " << id;
      EXPECT_EQ("objs\r\nend\r\n",
                ReadTestFile(run.game() + "data\\maps\\new.ide"));
    }
  }
}

TEST_F(IdeEditorTest, OnlyFilesReadBeforeMayClaimTheirIdsAgain) {
  // Not listed, so never scanned: its IDs are checked while it loads, and
  // the conflict completes the opening line.
  WriteTestFile(game() + "data\\maps\\extra.ide",
                "objs\r\n200, a\r\n90, b\r\nend\r\n");
  EXPECT_EQ(Log(Scanned({Opening("data\\maps\\extra.ide",
                                 "ERROR: Object ID  90 already used")}),
                false),
            RunScript("IDE OPEN data\\maps\\extra.ide"));
  EXPECT_EQ(std::vector<int>({1, 10, 20, 30, 90, 100, 101, 102, 200}), Used());

  // The listed file spelled otherwise than by letter case is another file.
  ScriptRun doubled;
  WriteGame(doubled.game());
  doubled.WriteScript("IDE OPEN data\\\\maps\\area.ide");
  EXPECT_EQ(quarn::Opening(doubled.game(), "data\\\\maps\\area.ide",
                           "ERROR: Object ID  100 already used\r\n") +
                FailedBanner(),
            LogFrom(doubled.Run(), "Opening IDE"));
}

TEST_F(IdeEditorTest, AddFileChecksEveryIdAndNeverChangesTheLayout) {
  WriteTestFile(mod() + "ADD.IDE",
                "# the mod's objects\n"
                "peds\n110, modped, null, CIVMALE\nend\n"
                "objs\n111, modobj, generic, 1, 100, 0\nend\n"
                "2dfx\n111, 0, 0, 1\nend\n");
  EXPECT_EQ(Log(Scanned({Opening("data\\maps\\area.ide", "ok"),
                         "Adding from IDE file: " + mod() + "ADD.IDE",
                         Rewriting("data\\maps\\area.ide", "done"),
                         "ERROR: IDE file not open"}),
                false),
            RunScript("IDE OPEN data\\maps\\area.ide\n"
                      "IDE ADDFILE ADD.IDE\n"
                      "IDE CLOSE\n"
                      "IDE ADDFILE missing.ide\n"));
  EXPECT_EQ(std::vector<int>({1, 10, 20, 30, 90, 100, 101, 102, 110, 111}),
            Used());
  EXPECT_EQ(
      "objs\r\n"
      "100, kiosk, generic, 1, 150, 0\r\n"
      "101, bench,  generic, 1, 150, 0\r\n"
      "111, modobj, generic, 1, 100, 0\r\n"
      "end\r\n"
      "tobj\r\n"
      "102, lamp, generic, 1, 150, 0, 20, 6\r\n"
      "end\r\n"
      "path\r\n"
      "end\r\n"
      "2dfx\r\n"
      "100, 0, 0, 3.5, 255, 200, 120, 200, 0, \"lightglow\"\r\n"
      "111, 0, 0, 1\r\n"
      "end\r\n",
      ReadTestFile(game() + "data\\maps\\area.ide"));
}

TEST(IdeEditorAddFile, ConflictInsideTheAddedFileStopsIt) {
  ScriptRun run;
  WriteBareGame(run.game(), "objs\r\nend\r\n");
  run.WriteScript("IDE OPEN data\\a.ide\nIDE ADDFILE nothing.ide\nIDE CLOSE");
  EXPECT_EQ("Adding from IDE file: " + run.installer() +
                "nothing.ide\r\nFile not found\r\n" + FailedBanner(),
            LogFrom(run.Run(), "Adding"));

  ScriptRun clash;
  WriteBareGame(clash.game(), "objs\r\nend\r\n");
  // A header met before "end" is first a definition of the open section:
  // "tobj" claims ID 0, then "121, again" claims 121 a second time.
  WriteTestFile(clash.installer() + "CLASH.IDE",
                "objs\r\n120, fine\r\n121, twice\r\ntobj\r\n121, again\r\n");
  clash.WriteScript("IDE OPEN data\\a.ide\nIDE ADDFILE CLASH.IDE\nIDE CLOSE");
  EXPECT_EQ("Adding from IDE file: " + clash.installer() +
                "CLASH.IDE\r\nERROR: Object ID  121 already used\r\n" +
                FailedBanner(),
            LogFrom(clash.Run(), "Adding"));
  EXPECT_EQ(std::vector<int>({0, 120, 121}),
            UsedIds(clash.context().ObjectIds));
  EXPECT_EQ("objs\r\nend\r\n", ReadTestFile(clash.game() + "data\\a.ide"));
}

TEST_F(IdeEditorTest, DeletionsFreeTheIdsOfTheLinesTheyDelete) {
  WriteTestFile(game() + "data\\gta_vc.dat",
                "IDE DATA\\MAPS\\AREA.IDE\r\nIDE DATA\\MAPS\\OTHER.IDE\r\n");
  WriteTestFile(game() + "data\\default.ide", "");
  WriteTestFile(game() + "data\\maps\\other.ide", "objs\r\n1, one\r\nend\r\n");
  WriteTestFile(game() + "data\\maps\\area.ide",
                "objs\r\n10, a\r\n11, b\r\n12, c\r\n200, e\r\nend\r\n"
                "cars\r\n13, car\r\nend\r\n2dfx\r\n11, fx\r\nend\r\n");
  const std::string log = RunScript(
      "IDE OPEN data\\maps\\area.ide\n"
      "IDE DEL 1*\n"           // every line from 1 on, of every section
      "IDE DEL CARS 200, e\n"  // only cars is searched: nothing
      "IDE DEL objs 200, E\n"  // case counts: nothing
      "IDE DEL 200, e\n"       // exact, every section
      "IDE ADD OBJS 11, b again\n"
      "IDE ADD CARS 13, car again\n"
      "IDE ADD OBJS 200, e again\n"
      "IDE CLOSE\n"
      "IDE OPEN data\\maps\\area.ide\n"
      "IDE ADD OBJS 1, clash\n"
      "PRINT never");

  EXPECT_EQ(
      Log({"Scanning IDE files...", "- Opening the 'gta_vc.dat' file... ok",
           "-- Scanning IDE file: " + game() + "DATA\\MAPS\\AREA.IDE ... ok",
           "-- Scanning IDE file: " + game() + "DATA\\MAPS\\OTHER.IDE ... ok",
           "-- Scanning IDE file: " + game() + "data\\default.ide ... ok",
           "Done scanning IDE files", Opening("data\\maps\\area.ide", "ok"),
           "Deleting IDE entry: 1*", "Deleting IDE entry: 200, e",
           "Deleting IDE entry: 200, E", "Deleting IDE entry: 200, e",
           Rewriting("data\\maps\\area.ide", "done"),
           Opening("data\\maps\\area.ide", "ok"),
           "ERROR: Object ID  1 already used"},
          false),
      log);
  // ID 1 is still defined in the other file; the deleted lines' IDs were
  // free to be claimed anew; "11, fx" claimed nothing.
  EXPECT_EQ(std::vector<int>({1, 11, 13, 200}), Used());
  EXPECT_EQ(
      "objs\r\n11, b again\r\n200, e again\r\nend\r\ntobj\r\nend\r\n"
      "path\r\nend\r\n2dfx\r\nend\r\n",
      ReadTestFile(game() + "data\\maps\\area.ide"));
}

TEST(IdeEditorDel, ExactSearchesCannotHoldDoubleBlanksButPrefixesStopBefore) {
  ScriptRun run;
  WriteBareGame(run.game(), "objs\r\n12, c  c\r\n13, d\r\n14, e  e\r\nend\r\n");
  // Script lines have their runs of blanks folded to one.
  run.WriteScript(
      "IDE OPEN data\\a.ide\nIDE DEL 12, c  c\nIDE DEL 14, e*\nIDE CLOSE");
  EXPECT_EQ("Deleting IDE entry: 12, c c\r\nDeleting IDE entry: 14, e*\r\n" +
                Rewriting(run.game(), "data\\a.ide", "done\r\n") + DoneBanner(),
            LogFrom(run.Run(), "Deleting"));
  EXPECT_EQ(
      "objs\r\n12, c  c\r\n13, d\r\nend\r\ntobj\r\nend\r\npath\r\nend\r\n"
      "2dfx\r\nend\r\n",
      ReadTestFile(run.game() + "data\\a.ide"));
  EXPECT_EQ(std::vector<int>({12, 13}), UsedIds(run.context().ObjectIds));
}

TEST_F(IdeEditorTest, ASearchOfTheAsteriskAloneIsRefused) {
  EXPECT_EQ(Log(Scanned({Opening("data\\maps\\area.ide", "ok"),
                         "Deleting IDE entry: *", "Invalid search string"}),
                false),
            RunScript("IDE OPEN data\\maps\\area.ide\nIDE DEL OBJS *"));
  EXPECT_EQ(kAreaIde, ReadTestFile(game() + "data\\maps\\area.ide"));
}

TEST_F(IdeEditorTest, EachSectionHoldsAtMost1895LinesDeletedOnesIncluded) {
  WriteTestFile(game() + "data\\maps\\full.ide", ManyObjects(1894, 1000));
  EXPECT_EQ(Log(Scanned({Opening("data\\maps\\full.ide", "ok"),
                         "Deleting IDE entry: 1000, m0",
                         "ERROR: IDE editor out of memory"}),
                false),
            RunScript("IDE OPEN data\\maps\\full.ide\n"
                      "IDE DEL 1000, m0\n"
                      "IDE ADD OBJS 5000, the 1895th\n"
                      "IDE ADD PATH 1, another section has room\n"
                      "IDE ADD OBJS 5001, one too many"));

  ScriptRun over;
  WriteBareGame(over.game(), "");
  WriteTestFile(over.game() + "data\\exact.ide", ManyObjects(1895, 1000));
  WriteTestFile(over.game() + "data\\over.ide", ManyObjects(1896, 3000));
  over.WriteScript(
      "IDE OPEN data\\exact.ide\nIDE CLOSE\nIDE OPEN data\\over.ide");
  EXPECT_EQ(quarn::Rewriting(over.game(), "data\\exact.ide", "done\r\n") +
                quarn::Opening(over.game(), "data\\over.ide",
                               "ERROR: IDE editor out of memory\r\n") +
                FailedBanner(),
            LogFrom(over.Run(), "Rewriting"));
  EXPECT_EQ(ManyObjects(1895, 1000) +
                "tobj\r\nend\r\npath\r\nend\r\n2dfx\r\n"
                "end\r\n",
            ReadTestFile(over.game() + "data\\exact.ide"));
}

TEST(IdeEditorOrder, CommandsOutOfOrderFailWithTheirMessages) {
  struct Case {
    std::string script;
    std::vector<std::string> body;  // the log between the game line and the
                                    // banner
  };
  // Cases for the game folder `g`.
  const auto cases = [](const std::string& g) {
    const std::string too_long(260 - g.size(), 'a');
    return std::vector<Case>{
        {"IDE ADD OBJS 1, a", {"ERROR: IDE file not open"}},
        {"IDE ADDFILE a.ide", {"ERROR: IDE file not open"}},
        {"IDE DEL 1, a", {"Deleting IDE entry:  ", "ERROR: IDE file not open"}},
        {"IDE CLOSE",
         {"Rewriting IDE file:  ...  ", "ERROR: IDE file not open"}},
        {"IDE OPEN data\\maps\\area.ide\nIDE OPEN data\\default.ide",
         Scanned(g, {Opening(g, "data\\maps\\area.ide", "ok"),
                     "ERROR: IDE file already open"})},
        {"IDE OPEN data\\maps\\area.ide\nIDE CLOSE\nIDE CLOSE",
         Scanned(g, {Opening(g, "data\\maps\\area.ide", "ok"),
                     Rewriting(g, "data\\maps\\area.ide", "done"),
                     Rewriting(g, "data\\maps\\area.ide", " "),
                     "ERROR: IDE file not open"})},
        {"IDE OPEN data\\maps\\none.ide",
         Scanned(g, {Opening(g, "data\\maps\\none.ide", "File not found")})},
        // Without an argument the line is no IDE command at all.
        {"IDE OPEN data\\maps\\area.ide\nIDE ADD OBJS",
         Scanned(g, {Opening(g, "data\\maps\\area.ide", "ok"),
                     "Unknown command: IDE ADD OBJS"})},
        // Refused before the scan and before the already-open check.
        {"IDE OPEN C:\\game\\data\\default.ide",
         {"Script error: Colon not allowed in IDE OPEN"}},
        {"IDE OPEN data\\maps\\area.ide\nIDE OPEN \\data\\default.ide",
         Scanned(g, {Opening(g, "data\\maps\\area.ide", "ok"),
                     "Script error: Root specifier not allowed in IDE OPEN"})},
        {"IDE OPEN data\\..\\..\\x.ide",
         {"Script error: .. not allowed in IDE OPEN"}},
        {"IDE OPEN " + too_long,
         Scanned(g, {"Path too long in IDE OPEN: " + g + too_long})},
    };
  };
  for (size_t i = 0;; ++i) {
    ScriptRun run;
    const std::vector<Case> all = cases(run.game());
    if (i == all.size()) break;
    WriteGame(run.game());
    run.WriteScript(all[i].script);
    EXPECT_EQ(SingleModLog(run.game(), all[i].body, false), run.Run())
        << all[i].script;
    // Only the case that closes the file once rewrites it.
    if (all[i].script.find("CLOSE\nIDE CLOSE") == std::string::npos) {
      EXPECT_EQ(kAreaIde, ReadTestFile(run.game() + "data\\maps\\area.ide"));
    }
  }
}

TEST(IdeEditorOrder, ScriptedRunWithoutGameFolderTouchesNothing) {
  for (const char* line : {"IDE OPEN data\\maps\\area.ide", "IDE ADD OBJS 1, a",
                           "IDE ADDFILE a.ide", "IDE DEL a", "IDE CLOSE"}) {
    ScriptRun run;
    WriteGame(run.game());
    run.context().ChosenPath = kScriptedPath;
    run.WriteScript(line);
    EXPECT_EQ("Install path unknown\r\n" + FailedBanner(), run.Run()) << line;
    EXPECT_FALSE(run.context().IdeScanDone);
  }
}

TEST_F(IdeEditorTest, LinesEndingInLineFeedAloneAreEditedOneByOne) {
  WriteTestFile(game() + "data\\maps\\area.ide",
                "objs\n100, kiosk\n101, bench\nend\ntobj\n102, lamp\nend\n");
  EXPECT_EQ(Log(Scanned({Opening("data\\maps\\area.ide", "ok"),
                         "Deleting IDE entry: 101, bench",
                         Rewriting("data\\maps\\area.ide", "done")}),
                true),
            RunScript("IDE OPEN data\\maps\\area.ide\nIDE DEL 101, bench\n"
                      "IDE CLOSE"));
  EXPECT_EQ(
      "objs\r\n100, kiosk\r\nend\r\ntobj\r\n102, lamp\r\nend\r\npath\r\n"
      "end\r\n2dfx\r\nend\r\n",
      ReadTestFile(game() + "data\\maps\\area.ide"));
}

TEST(IdeEditorClose, AFailedRewriteKeepsTheFileAndLeavesNoTemporary) {
  std::unique_ptr<FileSystem> native = MakeNativeFileSystem();
  FaultyFileSystem faulty(*native);
  ScriptRun run(&faulty);
  WriteTestFile(run.game() + "data\\gta_vc.dat", "");
  WriteTestFile(run.game() + "data\\default.ide", kDefaultIde);
  FaultPlan rename_fails;
  rename_fails.fail_rename = true;
  faulty.Plan(rename_fails);
  run.WriteScript(
      "IDE OPEN data\\default.ide\nIDE DEL 1*\nIDE CLOSE\nPRINT never");

  EXPECT_EQ(
      Rewriting(run.game(), "data\\default.ide", "failed\r\n") + FailedBanner(),
      LogFrom(run.Run(), "Rewriting"));
  EXPECT_EQ(kDefaultIde, ReadTestFile(run.game() + "data\\default.ide"));
  std::vector<FolderEntry> entries;
  faulty.ListFolder(run.game() + "data\\", &entries);
  EXPECT_EQ(4u, entries.size());  // ".", "..", gta_vc.dat and default.ide
}

}  // namespace
}  // namespace quarn
