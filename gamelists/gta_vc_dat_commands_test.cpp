#include "gamelists/gta_vc_dat_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/faulty_file_system.h"
#include "run/dispatch_table.h"
#include "testutil/expected_log.h"
#include "testutil/folder_listing.h"
#include "testutil/script_run.h"
#include "testutil/single_mod_test.h"
#include "testutil/test_files.h"

namespace quarn {
namespace {

const char kOpening[] = "Opening the 'gta_vc.dat' file... ";
const char kRewriting[] = "Rewriting the 'gta_vc.dat' file... ";

// The rewritten file: the fixed comment lines around the given groups.
std::string Layout(const std::vector<std::string>& ide,
                   const std::string& splash1,
                   const std::vector<std::string>& colfiles,
                   const std::vector<std::string>& zones,
                   const std::string& splash2,
                   const std::vector<std::string>& ipl,
                   const std::string& splash3) {
  const std::string removed = "# splash removed";
  return "#\r\n# Load IDEs first, then the models and after that the IPLs\r\n"
         "#\r\n \r\n# everything is loaded on a per directory basis and in "
         "alphabetical order\r\n# to improve the speed of loading\r\n \r\n"
         "#\r\n# Object types\r\n#\r\n" +
         JoinLinesCrLf(ide) + " \r\n" + (splash1.empty() ? removed : splash1) +
         "\r\n \r\n#collision data\r\n" + JoinLinesCrLf(colfiles) +
         " \r\n# have to load map.zon before any of the IPLs\r\n" +
         JoinLinesCrLf(zones) + " \r\n#\r\n# Scene information\r\n#\r\n \r\n" +
         (splash2.empty() ? removed : splash2) + "\r\n \r\n" +
         JoinLinesCrLf(ipl) + " \r\n#\r\n#  Interiors\r\n#\r\n" +
         (splash3.empty() ? removed : splash3) + "\r\n";
}

class GtaVcDatTest : public SingleModTest {
 protected:
  std::string file() const { return game() + "data\\gta_vc.dat"; }
  void WriteList(const std::string& bytes) { WriteTestFile(file(), bytes); }
  std::string List() const { return ReadTestFile(file()); }
  std::string Log(const std::vector<std::string>& body, bool succeeded) {
    return SingleModLog(game(), body, succeeded);
  }
};

TEST_F(GtaVcDatTest, OpenAndCloseRegroupTheLinesByClass) {
  // Every line end the program knows, blanks around lines, class words in
  // any case, and text after Ctrl-Z that is not part of the file.
  WriteList(
      "#\r\n# the game's own comment\n\r\n   IDE DATA\\MAPS\\one.IDE   \r\n"
      "ide data\\maps\\two.ide\rSPLASH loadsc1\r\n"
      "IPL DATA\\MAPS\\first.IPL\r\nCOLFILE 0 MODELS\\COLL\\GENERIC.COL\n"
      "ipl data\\map.zon\r\nSPLASH loadsc2\r\n\r\nIPL DATA\\NAVIG.ZON\r\n"
      "IPL  DATA\\MAPS\\two  blanks.IPL\r\n#  Interiors\r\nSPLASH loadsc3\r\n"
      "IDE DATA\\MAPS\\three.IDE\x1aIDE DATA\\MAPS\\after.IDE\r\n");
  const std::string expected =
      Layout({"IDE DATA\\MAPS\\one.IDE", "ide data\\maps\\two.ide",
              "IDE DATA\\MAPS\\three.IDE"},
             "SPLASH loadsc1", {"COLFILE 0 MODELS\\COLL\\GENERIC.COL"},
             {"ipl data\\map.zon", "IPL DATA\\NAVIG.ZON"}, "SPLASH loadsc2",
             {"IPL DATA\\MAPS\\first.IPL", "IPL  DATA\\MAPS\\two  blanks.IPL"},
             "SPLASH loadsc3");
  // Reopened in the same run, the rewritten list reads back unchanged.
  EXPECT_EQ(Log({kOpening + std::string("ok"), kRewriting + std::string("ok"),
                 kOpening + std::string("ok"), kRewriting + std::string("ok")},
                true),
            RunScript("GTA_VC.DAT OPEN\nGTA_VC.DAT CLOSE\n"
                      "gta_vc.dat open\nGta_Vc.Dat Close"));
  EXPECT_EQ(expected, List());
  EXPECT_EQ(std::vector<std::string>({"gta_vc.dat"}),
            TestFolderNames(game() + "data"));
}

TEST_F(GtaVcDatTest, AddAndDelEditTheListsAndSlots) {
  WriteList(
      "IDE DATA\\MAPS\\twice.IDE\r\nSPLASH loadsc1\r\nIPL DATA\\MAP.ZON\r\n"
      "ide data\\maps\\TWICE.ide\r\nIPL DATA\\MAPS\\kept.IPL\r\n");
  const std::string script =
      "GTA_VC.DAT OPEN\n"
      "gta_vc.dat add ide data\\maps\\new\\new.ide\n"
      "GTA_VC.DAT ADD IPL data\\new.zon\n"
      "GTA_VC.DAT ADD ipl data\\maps\\new\\new.ipl\n"
      "GTA_VC.DAT ADD COLFILE 2 models\\coll\\new.col\n"
      "GTA_VC.DAT ADD colfile 2 models\\coll\\new.col\n"
      "GTA_VC.DAT ADD splash2 SPLASH NewScreen\n"
      "GTA_VC.DAT DEL Splash1\n"
      "GTA_VC.DAT DEL IDE DATA\\MAPS\\twice.ide\n"
      "GTA_VC.DAT ADD IDE data\\maps\\twice.ide\n"
      "GTA_VC.DAT DEL ipl DATA\\MAP.zon\n"
      "GTA_VC.DAT DEL COLFILE 2 MODELS\\COLL\\NEW.COL\n"
      "GTA_VC.DAT CLOSE";
  EXPECT_EQ(Log({kOpening + std::string("ok"),
                 "Adding: IDE DATA\\MAPS\\NEW\\NEW.IDE ... ok",
                 "Adding: IPL DATA\\NEW.ZON ... ok",
                 "Adding: IPL DATA\\MAPS\\NEW\\NEW.IPL ... ok",
                 "Adding: COLFILE 2 MODELS\\COLL\\NEW.COL ... ok",
                 "Adding: COLFILE 2 MODELS\\COLL\\NEW.COL ... ok",
                 "Setting SPLASH 2: SPLASH NewScreen", "SPLASH 1 removed",
                 "Deleting: IDE DATA\\MAPS\\TWICE.IDE ... ok",
                 "Adding: IDE DATA\\MAPS\\TWICE.IDE ... ok",
                 "Deleting: IPL DATA\\MAP.ZON ... ok",
                 "Deleting: COLFILE 2 MODELS\\COLL\\NEW.COL ... ok",
                 kRewriting + std::string("ok")},
                true),
            RunScript(script));
  EXPECT_EQ(
      Layout({"IDE DATA\\MAPS\\NEW\\NEW.IDE", "IDE DATA\\MAPS\\TWICE.IDE"}, "",
             {}, {"IPL DATA\\NEW.ZON"}, "SPLASH NewScreen",
             {"IPL DATA\\MAPS\\kept.IPL", "IPL DATA\\MAPS\\NEW\\NEW.IPL"}, ""),
      List());
}

TEST_F(GtaVcDatTest, ReopenedListWritesEachSplashLineOnce) {
  WriteList("# nothing but comments\r\n\r\n#\r\n");
  const std::string script =
      "GTA_VC.DAT OPEN\nGTA_VC.DAT CLOSE\n"
      "GTA_VC.DAT OPEN\nGTA_VC.DAT ADD SPLASH3 SPLASH third\nGTA_VC.DAT CLOSE\n"
      "GTA_VC.DAT OPEN\nGTA_VC.DAT CLOSE";
  const std::string ok = "ok";
  EXPECT_EQ(Log({kOpening + ok, kRewriting + ok, kOpening + ok,
                 "Setting SPLASH 3: SPLASH third", kRewriting + ok,
                 kOpening + ok, kRewriting + ok},
                true),
            RunScript(script));
  // Read back, the one splash line is the list's first.
  EXPECT_EQ(Layout({}, "SPLASH third", {}, {}, "", {}, ""), List());

  ScriptRun run;
  WriteTestFile(run.game() + "data\\gta_vc.dat", "#\r\n");
  run.WriteScript("GTA_VC.DAT OPEN\nGTA_VC.DAT CLOSE");
  run.Run();
  EXPECT_EQ(Layout({}, "", {}, {}, "", {}, ""),
            ReadTestFile(run.game() + "data\\gta_vc.dat"));
}

TEST_F(GtaVcDatTest, FailuresEndTheRunAndLeaveTheFile) {
  const std::string original =
      "IDE DATA\\MAPS\\one.IDE\r\nSPLASH a\r\nIPL  DATA\\two  blanks.IPL\r\n";
  struct Case {
    std::string file;  // empty: the list file as above
    std::string script;
    std::vector<std::string> log;
  };
  const std::string opened = kOpening + std::string("ok");
  const std::string not_open = "ERROR: 'gta_vc.dat' not open";
  const Case cases[] = {
      {"", "GTA_VC.DAT ADD IDE x.ide", {not_open}},
      {"", "GTA_VC.DAT DEL IDE x.ide", {not_open}},
      {"", "GTA_VC.DAT CLOSE", {kRewriting + not_open}},
      {"",
       "GTA_VC.DAT OPEN\nGTA_VC.DAT OPEN",
       {opened, "ERROR: 'gta_vc.dat' already open"}},
      {"",
       "GTA_VC.DAT OPEN\nGTA_VC.DAT ADD models\\car.dff",
       {opened, "Adding: MODELS\\CAR.DFF ...  ",
        "Failed. Use GTA_VC.DAT ADD <<IPL|IDE|COLFILE|SPLASH1|SPLASH2|SPLASH3> "
        "(and the rest of it)>"}},
      {"",
       "GTA_VC.DAT OPEN\nGTA_VC.DAT ADD SPLASH loadsc9",
       {opened, "Adding: SPLASH LOADSC9 ...  ",
        "Failed. Use GTA_VC.DAT ADD <<IPL|IDE|COLFILE|SPLASH1|SPLASH2|SPLASH3> "
        "(and the rest of it)>"}},
      {"",
       "GTA_VC.DAT OPEN\nGTA_VC.DAT DEL SPLASH a",
       {opened,
        "Can't delete entry in 'gta_vc.dat'. Unknown class in: SPLASH A"}},
      {"",
       "GTA_VC.DAT OPEN\nGTA_VC.DAT DEL IDE data\\maps\\none.ide",
       {opened, "Deleting: IDE DATA\\MAPS\\NONE.IDE ... not found"}},
      // Script lines have their runs of blanks folded; the file's are kept.
      {"",
       "GTA_VC.DAT OPEN\nGTA_VC.DAT DEL IPL  DATA\\two  blanks.IPL",
       {opened, "Deleting: IPL DATA\\TWO BLANKS.IPL ... not found"}},
      {"SPLASH a\r\nSPLASH b\r\nSPLASH c\r\nSPLASH d\r\n",
       "GTA_VC.DAT OPEN",
       {kOpening + std::string("ERROR: Expected max 3 SPLASH instructions")}},
      {"IDE a.ide\r\n  TXD  models\\generic.txd \r\n",
       "GTA_VC.DAT OPEN",
       {kOpening + std::string("ERROR: Unsupported entry in the "
                               "'gta_vc.dat': TXD  models\\generic.txd")}},
  };
  for (const Case& c : cases) {
    ScriptRun run;
    const std::string list = run.game() + "data\\gta_vc.dat";
    const std::string bytes = c.file.empty() ? original : c.file;
    WriteTestFile(list, bytes);
    run.WriteScript(c.script + "\nGTA_VC.DAT CLOSE");
    EXPECT_EQ(SingleModLog(run.game(), c.log, false), run.Run()) << c.script;
    EXPECT_EQ(bytes, ReadTestFile(list)) << c.script;
  }
}

TEST_F(GtaVcDatTest, ListsHoldTheirCapacityAndNoMore) {
  std::string bytes;
  for (int i = 0; i < 2001; ++i) {
    bytes += "IDE DATA\\MAPS\\i" + std::to_string(i) + ".IDE\r\n";
    if (i < 2000) bytes += "COLFILE 0 C" + std::to_string(i) + ".COL\r\n";
  }
  WriteList(bytes);
  EXPECT_EQ(
      Log({kOpening + std::string("ok"), "Adding: COLFILE 0 LAST.COL ... ok",
           // A deleted line still counts until the list is read again.
           "Deleting: IDE DATA\\MAPS\\I7.IDE ... ok",
           "Adding: IDE DATA\\MAPS\\AGAIN.IDE ... ERROR: Too many IDE lines "
           "for 'gta_vc.dat' (at most 2001)"},
          false),
      RunScript("GTA_VC.DAT OPEN\nGTA_VC.DAT ADD COLFILE 0 last.col\n"
                "GTA_VC.DAT DEL IDE DATA\\MAPS\\i7.IDE\n"
                "GTA_VC.DAT ADD IDE DATA\\MAPS\\again.IDE\nGTA_VC.DAT CLOSE"));
  EXPECT_EQ(bytes, List());

  // A file over the capacity is not opened at all.
  ScriptRun run;
  std::string zones;
  for (int i = 0; i < 2002; ++i)
    zones += "IPL Z" + std::to_string(i) + ".ZON\n";
  WriteTestFile(run.game() + "data\\gta_vc.dat", zones);
  run.WriteScript("GTA_VC.DAT OPEN\nGTA_VC.DAT CLOSE");
  EXPECT_EQ(SingleModLog(run.game(),
                         {kOpening + std::string("ERROR: Too many zone lines "
                                                 "for 'gta_vc.dat' (at most "
                                                 "2001)")},
                         false),
            run.Run());
  EXPECT_EQ(zones, ReadTestFile(run.game() + "data\\gta_vc.dat"));
}

TEST_F(GtaVcDatTest, LongLinesAreCutAtTheirCapacities) {
  // A line is read with 999 characters: the zone name that loses its last
  // "N" to the cut is an ordinary IPL line. Stored lines keep 263.
  const std::string zone_999 = "IPL " + std::string(991, 'z') + ".ZON";
  const std::string zone_1000 = "IPL " + std::string(992, 'y') + ".ZON";
  const std::string ide_263 = "IDE " + std::string(259, 'a');
  const std::string ide_264 = "IDE " + std::string(260, 'b');
  WriteList(zone_999 + "\r\n" + zone_1000 + "\r\n" + ide_263 + "\r\n" +
            ide_264 + "\r\n");
  const std::string splash_299 = "SPLASH " + std::string(292, 's');
  const std::string added = "IPL " + std::string(300, 'N');
  EXPECT_EQ(
      Log({kOpening + std::string("ok"), "Setting SPLASH 1: " + splash_299,
           "Adding: " + added + " ... ok", kRewriting + std::string("ok")},
          true),
      RunScript("GTA_VC.DAT OPEN\nGTA_VC.DAT ADD SPLASH1 " + splash_299 +
                "xyz\nGTA_VC.DAT ADD " + added + "\nGTA_VC.DAT CLOSE"));
  EXPECT_EQ(Layout({ide_263, ide_264.substr(0, 263)}, splash_299, {},
                   {zone_999.substr(0, 263)}, "",
                   {zone_1000.substr(0, 263), added.substr(0, 263)}, ""),
            List());
}

// Runs `lines` one by one as the runner would, in a run that knows its
// game folder, until one ends the run. The log file stays open meanwhile:
// what was logged is read from the window.
void DispatchLines(ScriptRun& run, const std::vector<std::string>& lines) {
  run.context().GamePath = run.game();
  for (const std::string& line : lines) {
    run.context().ScriptLine = line;
    if (DispatchLine(run.context()) == CommandResult::kEndRun) return;
  }
}

TEST(GtaVcDatRewrite, AFailedRewriteLeavesTheOldFileAndNoTemporary) {
  std::unique_ptr<FileSystem> real = MakeNativeFileSystem();
  FaultPlan failing_write;
  failing_write.failing_write = 2;  // the first after the "Rewriting" text
  FaultPlan failing_rename;
  failing_rename.fail_rename = true;
  for (const FaultPlan& plan : {failing_write, failing_rename}) {
    FaultyFileSystem faulty(*real);
    ScriptRun run(&faulty);
    const std::string list = run.game() + "data\\gta_vc.dat";
    WriteTestFile(list, "IDE a.ide\r\n");
    DispatchLines(run, {"GTA_VC.DAT OPEN", "GTA_VC.DAT ADD IDE b.ide"});
    faulty.Plan(plan);
    DispatchLines(run, {"GTA_VC.DAT CLOSE"});
    faulty.Plan(FaultPlan());
    EXPECT_EQ(std::string(kOpening) + "ok\r\nAdding: IDE B.IDE ... ok\r\n" +
                  kRewriting + "Can't rewrite file\r\n",
              run.window().shown);
    EXPECT_EQ("IDE a.ide\r\n", ReadTestFile(list));
    EXPECT_EQ(std::vector<std::string>({"gta_vc.dat"}),
              TestFolderNames(run.game() + "data"));
  }
}

TEST(GtaVcDatRewrite, AHiddenFileIsNotRewrittenAndTheListStaysOpen) {
  ScriptRun run;
  const std::string list = run.game() + "data\\gta_vc.dat";
  WriteTestFile(list, "IDE a.ide\r\n");
  DispatchLines(run, {"GTA_VC.DAT OPEN"});
  ASSERT_TRUE(run.fs().SetAttributes(list, kAttrHidden));
  DispatchLines(run, {"GTA_VC.DAT CLOSE"});
  EXPECT_EQ("IDE a.ide\r\n", ReadTestFile(list));
  ASSERT_TRUE(run.fs().SetAttributes(list, 0));
  DispatchLines(run, {"GTA_VC.DAT CLOSE"});
  EXPECT_EQ(std::string(kOpening) + "ok\r\n" + kRewriting +
                "file disappeared into thin air\r\n" + kRewriting + "ok\r\n",
            run.window().shown);
  EXPECT_EQ(Layout({"IDE a.ide"}, "", {}, {}, "", {}, ""), ReadTestFile(list));
}

TEST(GtaVcDatAcrossMods, AListGoesBackToTheFileItWasReadFrom) {
  // Each script of a scripted run names its game folder anew; a list a
  // later script closes must not land in another game.
  ScriptRun run;
  const std::string first = run.installer() + "first";
  const std::string second = run.installer() + "second";
  WriteTestFile(first + "\\data\\gta_vc.dat", "IDE a.ide\r\n");
  WriteTestFile(second + "\\data\\gta_vc.dat", "IDE b.ide\r\n");
  InstallContext& ctx = run.context();
  ctx.ChosenPath = kScriptedPath;
  ctx.ModCatalogue.Present = true;
  ctx.ModCatalogue.Entries = {{"X1", "one", 1}, {"X2", "two", 1}};
  WriteTestFile(run.installer() + "X1\\QuarnInstall.txt",
                "INSTALL PATH " + first + "\r\nGTA_VC.DAT OPEN\r\n");
  WriteTestFile(run.installer() + "X2\\QuarnInstall.txt",
                "INSTALL PATH " + second +
                    "\r\nGTA_VC.DAT ADD IDE new.ide\r\nGTA_VC.DAT CLOSE\r\n");

  EXPECT_EQ("Scripted game path: " + first + "\r\n" + kOpening + "ok\r\n" +
                "\r\n\r\n\r\nScripted game path: " + second +
                "\r\nAdding: IDE NEW.IDE ... ok\r\n" + kRewriting +
                "ok\r\n\r\n\r\n\r\n" + DoneBanner(),
            run.Run());
  EXPECT_EQ(Layout({"IDE a.ide", "IDE NEW.IDE"}, "", {}, {}, "", {}, ""),
            ReadTestFile(first + "\\data\\gta_vc.dat"));
  EXPECT_EQ("IDE b.ide\r\n", ReadTestFile(second + "\\data\\gta_vc.dat"));
}

}  // namespace
}  // namespace quarn
