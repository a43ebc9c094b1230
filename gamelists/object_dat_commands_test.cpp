#include "gamelists/object_dat_commands.h"

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

const char kOpening[] = "Opening the 'object.dat' file...";
const char kRewriting[] = "Rewriting the 'object.dat' file... ";
const char kEnd[] = "\r\n* ;end of file\r\n";

class ObjectDatTest : public SingleModTest {
 protected:
  std::string file() const { return game() + "data\\object.dat"; }
  void WriteList(const std::string& bytes) { WriteTestFile(file(), bytes); }
  std::string List() const { return ReadTestFile(file()); }
  std::string Log(const std::vector<std::string>& body, bool succeeded) {
    return SingleModLog(game(), body, succeeded);
  }
  const std::string opened_ = kOpening + std::string("ok");
  const std::string rewritten_ = kRewriting + std::string("ok");
};

TEST_F(ObjectDatTest, OpenAndCloseKeepTheLinesInOrder) {
  WriteList(
      ";\r\n; Object properties\t[kg]  \r\n\r\n"
      "   barrel1,\t\t100.0,\t\t500.0\r\n   \r\n"
      "* ;end of file\r\ncrate, 20.0, 90.0\n*\rlamp,\t5.0\x1a"
      "after, 1.0\r\n");
  EXPECT_EQ(Log({opened_, rewritten_, opened_, rewritten_}, true),
            RunScript("OBJECT.DAT OPEN\nOBJECT.DAT CLOSE\n"
                      "object.dat open\nObject.Dat Close"));
  // Read back, the end marker it wrote is dropped again and written once.
  EXPECT_EQ(
      ";\r\n; Object properties\t[kg]\r\nbarrel1,\t\t100.0,\t\t500.0\r\n"
      "crate, 20.0, 90.0\r\nlamp,\t5.0\r\n" +
          std::string(kEnd),
      List());
  EXPECT_EQ(std::vector<std::string>({"object.dat"}),
            TestFolderNames(game() + "data"));
}

TEST_F(ObjectDatTest, DelMatchesWholeLinesOrPrefixesInAnyCase) {
  WriteList(
      "BarrelA, 1.0\r\nbarrelb,\t\t2.0\r\nbarrel*c, 3.0\r\nlamp, 4.0\r\n"
      "crate,\t\t5.0\r\nbarrelA, 1.0\r\nbar\r\n");
  const std::string script =
      "OBJECT.DAT OPEN\n"
      "OBJECT.DAT DEL barrel*x\n"  // a "*" inside is an ordinary character
      "OBJECT.DAT DEL BARRELA, 1.0\n"
      "OBJECT.DAT ADD barrelA,\t1.5\n"
      "OBJECT.DAT DEL barrel*\n"
      "OBJECT.DAT DEL crate,\t\t\t5.0\n"  // the file has two tabs
      "OBJECT.DAT DEL lamp, 9.0\n"
      "OBJECT.DAT DEL LAMP, 4.0\n"
      "OBJECT.DAT CLOSE\n"
      "OBJECT.DAT DEL bar";
  EXPECT_EQ(Log({opened_, "Deleting barrel*x ...", "Deleted: barrel*c, 3.0",
                 "Deleting BARRELA, 1.0 ...", "Deleted: BarrelA, 1.0",
                 "Deleted: barrelA, 1.0", "Adding: barrelA,\t1.5",
                 "Deleting barrel* ...", "Deleted: barrelb,2.0",
                 "Deleted: barrelA,1.5", "Deleting crate,\t5.0 ...",
                 "nothing deleted", "Deleting lamp, 9.0 ...", "nothing deleted",
                 "Deleting LAMP, 4.0 ...", "Deleted: lamp, 4.0", rewritten_,
                 "ERROR: 'object.dat' not open"},
                false),
            RunScript(script));
  EXPECT_EQ("crate,\t\t5.0\r\nbar\r\n" + std::string(kEnd), List());
}

TEST_F(ObjectDatTest, FailuresEndTheRunAndLeaveTheFile) {
  const std::string original = "lamp, 4.0\r\n";
  struct Case {
    const char* script;
    std::vector<std::string> log;
  };
  const std::string not_open = "ERROR: 'object.dat' not open";
  const Case cases[] = {
      {"OBJECT.DAT ADD lamp, 5.0", {not_open}},
      {"OBJECT.DAT DEL lamp*", {not_open}},
      {"OBJECT.DAT CLOSE", {not_open}},
      {"OBJECT.DAT OPEN\nOBJECT.DAT OPEN",
       {kOpening + std::string("ok"), "ERROR: 'object.dat' already open"}},
      {"OBJECT.DAT OPEN\nOBJECT.DAT DEL *",
       {kOpening + std::string("ok"), "Deleting * ...",
        "'OBJECT.DAT DEL *' not allowed"}},
      {"OBJECT.DAT OPEN\nOBJECT.DAT DEL *lamp",
       {kOpening + std::string("ok"), "Deleting *lamp ...",
        "'OBJECT.DAT DEL *' not allowed"}},
  };
  for (const Case& c : cases) {
    ScriptRun run;
    const std::string list = run.game() + "data\\object.dat";
    WriteTestFile(list, original);
    run.WriteScript(c.script + std::string("\nOBJECT.DAT CLOSE"));
    EXPECT_EQ(SingleModLog(run.game(), c.log, false), run.Run()) << c.script;
    EXPECT_EQ(original, ReadTestFile(list)) << c.script;
  }
}

TEST_F(ObjectDatTest, TheListHoldsItsCapacityAndNoMore) {
  std::string bytes;
  for (int i = 0; i < 1901; ++i) {
    bytes += "obj" + std::to_string(i) + ", 1.0\r\n";
    if (i % 100 == 0) bytes += "\r\n* a marker line\r\n";
  }
  WriteList(bytes);
  // A deleted line still counts until the list is read again.
  EXPECT_EQ(Log({opened_, "Deleting OBJ7, 1.0 ...", "Deleted: obj7, 1.0",
                 "Adding: again, 1.0",
                 "ERROR: Too many lines for 'object.dat' (at most 1901)"},
                false),
            RunScript("OBJECT.DAT OPEN\nOBJECT.DAT DEL OBJ7, 1.0\n"
                      "OBJECT.DAT ADD again, 1.0\nOBJECT.DAT CLOSE"));
  EXPECT_EQ(bytes, List());

  ScriptRun run;
  const std::string over = bytes + "one, more\r\n";
  WriteTestFile(run.game() + "data\\object.dat", over);
  run.WriteScript("OBJECT.DAT OPEN\nOBJECT.DAT CLOSE");
  EXPECT_EQ(
      SingleModLog(run.game(),
                   {kOpening + std::string("ERROR: Too many lines for "
                                           "'object.dat' (at most 1901)")},
                   false),
      run.Run());
  EXPECT_EQ(over, ReadTestFile(run.game() + "data\\object.dat"));
}

TEST_F(ObjectDatTest, LongLinesAreCutAtTheirCapacities) {
  // Read with 999 characters, the blanks that end the kept part are
  // trimmed; stored lines keep 499.
  const std::string read_cut = std::string(400, 'r') + std::string(599, ' ');
  const std::string line_499 = std::string(499, 'k');
  const std::string line_500 = std::string(500, 'c');
  WriteList(read_cut + "tail\r\n" + line_499 + "\r\n" + line_500 + "\r\n");
  const std::string added = std::string(600, 'a');
  EXPECT_EQ(Log({opened_, "Adding: " + added, rewritten_}, true),
            RunScript("OBJECT.DAT OPEN\nOBJECT.DAT ADD " + added +
                      "\nOBJECT.DAT CLOSE"));
  EXPECT_EQ(std::string(400, 'r') + "\r\n" + line_499 + "\r\n" +
                line_500.substr(0, 499) + "\r\n" + added.substr(0, 499) +
                "\r\n" + kEnd,
            List());
}

TEST_F(ObjectDatTest, BothListsCanBeEditedAtOnce) {
  WriteList("lamp, 4.0\r\n");
  WriteTestFile(game() + "data\\gta_vc.dat", "IDE a.ide\r\n");
  const std::string script =
      "OBJECT.DAT OPEN\nGTA_VC.DAT OPEN\n"
      "OBJECT.DAT ADD kiosk, 9.0\nGTA_VC.DAT ADD IDE kiosk.ide\n"
      "GTA_VC.DAT CLOSE\nOBJECT.DAT DEL lamp*\nOBJECT.DAT CLOSE\n"
      "GTA_VC.DAT OPEN\nOBJECT.DAT OPEN\nGTA_VC.DAT CLOSE\nOBJECT.DAT CLOSE";
  const std::string vc_opened = "Opening the 'gta_vc.dat' file... ok";
  const std::string vc_rewritten = "Rewriting the 'gta_vc.dat' file... ok";
  EXPECT_EQ(Log({opened_, vc_opened, "Adding: kiosk, 9.0",
                 "Adding: IDE KIOSK.IDE ... ok", vc_rewritten,
                 "Deleting lamp* ...", "Deleted: lamp, 4.0", rewritten_,
                 vc_opened, opened_, vc_rewritten, rewritten_},
                true),
            RunScript(script));
  EXPECT_EQ("kiosk, 9.0\r\n" + std::string(kEnd), List());
  const std::string vc = ReadTestFile(game() + "data\\gta_vc.dat");
  EXPECT_NE(
      std::string::npos,
      vc.find("# Object types\r\n#\r\nIDE a.ide\r\nIDE KIOSK.IDE\r\n \r\n"))
      << vc;
  EXPECT_EQ(std::vector<std::string>({"gta_vc.dat", "object.dat"}),
            TestFolderNames(game() + "data"));
}

TEST(ObjectDatRewrite, AFailedRewriteLeavesTheOldFileAndNoTemporary) {
  std::unique_ptr<FileSystem> real = MakeNativeFileSystem();
  FaultyFileSystem faulty(*real);
  FaultPlan plan;
  plan.fail_rename = true;
  faulty.Plan(plan);
  ScriptRun run(&faulty);
  const std::string list = run.game() + "data\\object.dat";
  WriteTestFile(list, "lamp, 4.0\r\n");
  run.WriteScript(
      "OBJECT.DAT OPEN\nOBJECT.DAT ADD kiosk, 9.0\nOBJECT.DAT CLOSE");
  EXPECT_EQ(SingleModLog(run.game(),
                         {kOpening + std::string("ok"), "Adding: kiosk, 9.0",
                          kRewriting + std::string("Can't rewrite file")},
                         false),
            run.Run());
  EXPECT_EQ("lamp, 4.0\r\n", ReadTestFile(list));
  EXPECT_EQ(std::vector<std::string>({"object.dat"}),
            TestFolderNames(run.game() + "data"));
}

}  // namespace
}  // namespace quarn
