#include "col/col_add.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "col/open_col_file.h"
#include "testutil/col_test_chunks.h"
#include "testutil/expected_log.h"
#include "testutil/script_run.h"
#include "testutil/single_mod_test.h"
#include "testutil/test_files.h"

namespace quarn {
namespace {

const char kFile[] = "models\\coll\\test.col";
const char kOpen[] = "COL OPEN models\\coll\\test.col\n";

std::string Opening(const std::string& game) {
  return "Opening COL file: " + game + kFile;
}

std::string Rewriting(const std::string& game) {
  return "Rewriting COL file: " + game + kFile + " ... done";
}

// The names in a folder besides "." and "..".
std::vector<std::string> FolderNames(FileSystem& fs, const std::string& path) {
  std::vector<FolderEntry> entries;
  fs.ListFolder(path, &entries);
  std::vector<std::string> names;
  for (const FolderEntry& entry : entries) {
    if (entry.name != "." && entry.name != "..") names.push_back(entry.name);
  }
  return names;
}

using ColAddTest = SingleModTest;

TEST_F(ColAddTest, ReplacedModelsMoveToTheEndAndKeepTheirSourceBytes) {
  WriteTestFile(game() + kFile, TestColModel("a", 1) + TestColModel("B", 1) +
                                    TestColModel("c", 1) +
                                    TestColModel("b", 1));
  // Both chunks named b are added; the second replaces the first.
  const std::string b2 = TestColModel("b", 2);
  const std::string x2 = TestColModel("x", 2);
  const std::string b3 = TestColModel("B", 3);
  WriteTestFile(mod() + "src.col", b2 + x2 + b3);
  const std::string d4 = TestColModel("d", 4);
  const std::string a4 = TestColModel("A", 4);
  WriteTestFile(mod() + "more\\all.col", d4 + a4);

  EXPECT_EQ(SingleModLog(game(),
                         {Opening(game()), "a", "B", "c", "b",
                          "Adding: b From COL file: " + mod() + "src.col",
                          "Checking COL: b ... exists, will be replaced",
                          "Checking COL: B ... exists, will be replaced",
                          "Adding: missing From COL file: " + mod() + "src.col",
                          "COL object not found: missing", "Deleting: C ... ok",
                          "Deleting: c ... not found",
                          "Adding from COL file: " + mod() + "more\\all.col",
                          "Checking COL: d ... not found, will be added",
                          "Checking COL: A ... exists, will be replaced",
                          Rewriting(game())},
                         true),
            RunScript(std::string(kOpen) + "col add b from src.col\n"
                                           "COL ADD missing FrOm src.col\n"
                                           "COL DELETE C\n"
                                           "COL DELETE c\n"
                                           "COL ADDFILE more\\all.col\n"
                                           "COL CLOSE"));
  EXPECT_TRUE(b3 + d4 + a4 == ReadTestFile(game() + kFile));
  EXPECT_EQ(std::vector<std::string>({"test.col"}),
            FolderNames(run_.fs(), game() + "models\\coll\\"));
}

TEST_F(ColAddTest, RefusedAdditionsLeaveTheFileAsItWas) {
  struct Case {
    std::string script;
    std::vector<std::string> body;  // "%" stands for the mod folder
  };
  const Case cases[] = {
      {"COL ADD a FROM src.col", {" ", "ERROR: COL file not open"}},
      {"COL ADDFILE src.col", {" ", "ERROR: COL file not open"}},
      {"COL DELETE a", {"ERROR: COL file not open"}},
      {"COL CLOSE", {"ERROR: COL file not open"}},
      {std::string(kOpen) + "COL ADD a src.col",
       {"a", "ERROR: Use COL ADD <col object> FROM <col file>"}},
      {std::string(kOpen) + "COL ADD FROM src.col",
       {"a", "ERROR: Use COL ADD <col object> FROM <col file>"}},
      {std::string(kOpen) + "COL ADD a FROM none.col",
       {"a", "Adding: a From COL file: %none.col", "File not found"}},
      {std::string(kOpen) + "COL ADD x FROM nameless.col",
       {"a", "Adding: x From COL file: %nameless.col",
        "Checking COL: x ... not found, will be added",
        "ERROR: Namesless COL file found"}},
      {std::string(kOpen) + "COL ADDFILE corrupt.col",
       {"a", "Adding from COL file: %corrupt.col",
        "COL file corrupt: %corrupt.col"}},
      {std::string(kOpen) + "COL ADDFILE foreign.col",
       {"a", "Adding from COL file: %foreign.col",
        "Checking COL: x ... not found, will be added", "Not a COL file"}},
  };
  const std::string original = TestColModel("a", 1);
  for (const Case& c : cases) {
    ScriptRun run;
    const std::string mod = run.installer();
    WriteTestFile(run.game() + kFile, original);
    WriteTestFile(mod + "src.col", TestColModel("a", 2));
    WriteTestFile(mod + "nameless.col",
                  TestColModel("x", 2) + TestColChunk("", "no name"));
    WriteTestFile(mod + "corrupt.col",
                  TestColModel("x", 2) + RawColChunk(100, "short"));
    WriteTestFile(mod + "foreign.col", TestColModel("x", 2) + "JUNK");
    std::vector<std::string> body;
    if (c.script.find("COL OPEN") == 0) body.push_back(Opening(run.game()));
    for (std::string line : c.body) {
      const size_t at = line.find('%');
      if (at != std::string::npos) line.replace(at, 1, mod);
      body.push_back(line);
    }
    run.WriteScript(c.script + "\nCOL CLOSE");
    EXPECT_EQ(SingleModLog(run.game(), body, false), run.Run()) << c.script;
    EXPECT_TRUE(original == ReadTestFile(run.game() + kFile)) << c.script;
  }
}

TEST_F(ColAddTest, WithoutAGameFolderNothingIsTouched) {
  const std::string lines[][2] = {
      {"COL ADD a FROM src.col", " \r\nERROR: COL file not open"},
      {"COL ADDFILE src.col", " \r\nERROR: COL file not open"},
      {"COL DELETE a", "Install path unknown"},
      {"COL CLOSE", "Install path unknown"},
  };
  for (const auto& [line, message] : lines) {
    ScriptRun run;
    run.context().ChosenPath = kScriptedPath;
    run.WriteScript(line);
    EXPECT_EQ(message + "\r\n" + FailedBanner(), run.Run()) << line;
  }
}

TEST_F(ColAddTest, AdditionOverTheLimitFailsAndWritesNothing) {
  std::vector<std::string> names;
  for (size_t i = 0; i + 1 < kColModelCapacity; ++i) {
    names.push_back("m" + std::to_string(i));
  }
  const std::string original = TestColModels(names, 1);
  WriteTestFile(game() + kFile, original);
  WriteTestFile(mod() + "three.col", TestColModel("M0", 2) +
                                         TestColModel("new1", 2) +
                                         TestColModel("new2", 2));

  std::vector<std::string> body = {Opening(game())};
  body.insert(body.end(), names.begin(), names.end());
  body.insert(body.end(),
              {"Adding from COL file: " + mod() + "three.col",
               "Checking COL: M0 ... exists, will be replaced",
               "Checking COL: new1 ... not found, will be added",
               "Checking COL: new2 ...  ",
               "Too many COL objects (at most 3001): " + game() + kFile});
  EXPECT_TRUE(
      SingleModLog(game(), body, false) ==
      RunScript(std::string(kOpen) + "COL ADDFILE three.col\nCOL CLOSE"));
  EXPECT_TRUE(original == ReadTestFile(game() + kFile));
}

TEST(ColAcrossModsTest, OpenFileStaysOpenForTheNextModAndTakesItsFiles) {
  ScriptRun run;
  run.context().ModCatalogue.Present = true;
  run.context().ModCatalogue.Entries = {{"X1", "X1", 1}, {"X2", "X2", 1}};
  const std::string x1 = run.installer() + "X1\\";
  const std::string x2 = run.installer() + "X2\\";
  WriteTestFile(run.game() + kFile, TestColModel("old", 1));
  WriteTestFile(x1 + "one.col", TestColModel("one", 1));
  // The mod's folder, not the folder DIR SELECT chose, holds the sources.
  WriteTestFile(x1 + "sub\\one.col", TestColModel("wrong", 1));
  WriteTestFile(x2 + "two.col", TestColModel("two", 2));
  WriteTestFile(
      x1 + "QuarnInstall.txt",
      std::string(kOpen) + "DIR SELECT sub\r\nCOL ADDFILE one.col\r\n");
  WriteTestFile(x2 + "QuarnInstall.txt",
                "COL ADD two FROM two.col\r\nCOL CLOSE\r\n");

  const std::string game = SelectedGameLine(run.game());
  EXPECT_EQ(
      game + Opening(run.game()) +
          "\r\nold\r\nSource dir: sub\r\nAdding from COL file: " + x1 +
          "one.col\r\nChecking COL: one ... not found, will be "
          "added\r\n\r\n\r\n\r\n" +
          game + "Adding: two From COL file: " + x2 +
          "two.col\r\nChecking COL: two ... not found, will be added\r\n" +
          Rewriting(run.game()) + "\r\n\r\n\r\n\r\n" + DoneBanner(),
      run.Run());
  EXPECT_TRUE(TestColModel("old", 1) + TestColModel("one", 1) +
                  TestColModel("two", 2) ==
              ReadTestFile(run.game() + kFile));
}

}  // namespace
}  // namespace quarn
