#include "col/col_open.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testutil/col_test_chunks.h"
#include "testutil/expected_log.h"
#include "testutil/script_run.h"
#include "testutil/single_mod_test.h"
#include "testutil/test_files.h"

namespace quarn {
namespace {

const char kFile[] = "models\\coll\\test.col";

class ColOpenTest : public SingleModTest {
 protected:
  std::string path() const { return game() + kFile; }
  std::string Opening() const { return "Opening COL file: " + path(); }
  std::string Rewriting() const {
    return "Rewriting COL file: " + path() + " ... done";
  }
};

TEST_F(ColOpenTest, OpenAndCloseGiveBackEveryByte) {
  // Bytes after a name's NUL, a nameless model, a name filling its field
  // right up to a body of letters, a model without a body.
  const std::string bytes =
      TestColModel("Kiosk", 1) +
      TestColChunk(std::string("lamp\0old name", 13), "lamp body") +
      TestColChunk("", "nameless body") +
      TestColChunk("abcdefghijklmnopqrstuvwx", "yz body") +
      TestColChunk("bare", "");
  WriteTestFile(path(), bytes);

  EXPECT_EQ(SingleModLog(game(),
                         {Opening(), "Kiosk", "lamp", "",
                          "abcdefghijklmnopqrstuvwx", "bare", Rewriting()},
                         true),
            RunScript(std::string("col open ") + kFile + "\nCOL CLOSE"));
  EXPECT_TRUE(bytes == ReadTestFile(path()));
}

TEST_F(ColOpenTest, EmptyFileStaysEmptyAndReadOnlyIsCleared) {
  WriteTestFile(path(), "");
  ASSERT_TRUE(run_.fs().SetAttributes(path(), kAttrReadOnly));

  EXPECT_EQ(SingleModLog(game(), {Opening(), Rewriting()}, true),
            RunScript(std::string("COL OPEN ") + kFile + "\nCOL CLOSE"));
  EXPECT_EQ("", ReadTestFile(path()));
  EXPECT_EQ(0u, run_.fs().AttributesOf(path()) & kAttrReadOnly);
}

TEST_F(ColOpenTest, RefusalsComeBeforeTheFileIsRead) {
  struct Case {
    std::string script;
    std::vector<std::string> body;  // with "%" for the game folder
  };
  const std::string too_long(kColPathCapacity, 'x');
  const Case cases[] = {
      {"COL OPEN c:\\test.col",
       {"Script error: Colon not allowed in COL OPEN"}},
      {"COL OPEN \\test.col",
       {"Script error: Root specifier not allowed in COL OPEN"}},
      {"COL OPEN models\\..\\..\\test.col",
       {"Script error: .. not allowed in COL OPEN"}},
      {"COL OPEN missing.col",
       {"Opening COL file: %missing.col", "File not found"}},
      {"COL OPEN models\\coll\\hidden.col",
       {"Opening COL file: %models\\coll\\hidden.col", "File not found"}},
      {"COL OPEN models\\coll\\test.col\nCOL OPEN models\\coll\\test.col",
       {"Opening COL file: %models\\coll\\test.col", "a", "COL already open"}},
      {"COL OPEN " + too_long, {"Path too long in COL OPEN: %" + too_long}},
  };
  for (const Case& c : cases) {
    ScriptRun run;
    WriteTestFile(run.game() + kFile, TestColModel("a", 1));
    WriteTestFile(run.game() + "models\\coll\\hidden.col",
                  TestColModel("h", 1));
    ASSERT_TRUE(run.fs().SetAttributes(run.game() + "models\\coll\\hidden.col",
                                       kAttrHidden));
    std::vector<std::string> body;
    for (std::string line : c.body) {
      const size_t at = line.find('%');
      if (at != std::string::npos) line.replace(at, 1, run.game());
      body.push_back(line);
    }
    run.WriteScript(c.script + "\nCOL CLOSE");
    EXPECT_EQ(SingleModLog(run.game(), body, false), run.Run()) << c.script;
    EXPECT_EQ(TestColModel("a", 1), ReadTestFile(run.game() + kFile));
  }

  // The path is refused even before the missing game folder is noticed.
  ScriptRun scripted;
  scripted.context().ChosenPath = kScriptedPath;
  scripted.WriteScript("COL OPEN ..\\test.col");
  EXPECT_EQ("Script error: .. not allowed in COL OPEN\r\n" + FailedBanner(),
            scripted.Run());
  ScriptRun unknown;
  unknown.context().ChosenPath = kScriptedPath;
  unknown.WriteScript("COL OPEN test.col");
  EXPECT_EQ("Install path unknown\r\n" + FailedBanner(), unknown.Run());
}

TEST_F(ColOpenTest, DamagedFilesAreRefusedAndLeftAlone) {
  const std::string good = TestColModel("good", 1);
  struct Case {
    const char* what;
    std::string bytes;
    std::vector<std::string> names;  // logged before the message
    bool corrupt;                    // else "Not a COL file"
  };
  const Case cases[] = {
      {"bad magic first", "COLX" + good.substr(4), {}, false},
      {"bad magic later", good + good + "xCOLL", {"good", "good"}, false},
      {"a few bytes at the end", good + "CO", {"good"}, false},
      {"cut in the header", good + RawColChunk(40, "").substr(0, 6), {}, true},
      {"header without a name", good + RawColChunk(24, ""), {}, true},
      {"size past the end",
       good + RawColChunk(41, std::string(40, 'n')),
       {},
       true},
      {"size not advancing",
       good + RawColChunk(0xFFFFFFF8u, std::string(40, 'n')),
       {},
       true},
      {"largest size",
       RawColChunk(0xFFFFFFFFu, std::string(40, 'n')),
       {},
       true},
      {"too short for a name",
       good + RawColChunk(23, std::string(23, 'n')) + good,
       {},
       true},
      {"size zero", RawColChunk(0, "") + good, {}, true},
  };
  for (const Case& c : cases) {
    ScriptRun run;
    const std::string path = run.game() + kFile;
    WriteTestFile(path, c.bytes);
    std::vector<std::string> body = {"Opening COL file: " + path};
    body.insert(body.end(), c.names.begin(), c.names.end());
    body.push_back(c.corrupt ? "COL file corrupt: " + path : "Not a COL file");
    run.WriteScript(std::string("COL OPEN ") + kFile + "\nCOL CLOSE");
    EXPECT_EQ(SingleModLog(run.game(), body, false), run.Run()) << c.what;
    EXPECT_TRUE(c.bytes == ReadTestFile(path)) << c.what;
  }
}

TEST_F(ColOpenTest, AtMostSoManyModels) {
  std::vector<std::string> names;
  for (size_t i = 0; i <= kColModelCapacity; ++i) {
    names.push_back("m" + std::to_string(i));
  }
  const std::string over = TestColModels(names, 1);
  WriteTestFile(path(), over);
  EXPECT_EQ(
      SingleModLog(
          game(), {Opening(), "Too many COL objects (at most 3001): " + path()},
          false),
      RunScript(std::string("COL OPEN ") + kFile + "\nCOL CLOSE"));
  EXPECT_TRUE(over == ReadTestFile(path()));

  // One run per fixture: the log file closes at a run's end.
  names.pop_back();
  ScriptRun run;
  const std::string full = TestColModels(names, 1);
  WriteTestFile(run.game() + kFile, full);
  std::vector<std::string> body = {"Opening COL file: " + run.game() + kFile};
  body.insert(body.end(), names.begin(), names.end());
  body.push_back("Rewriting COL file: " + run.game() + kFile + " ... done");
  run.WriteScript(std::string("COL OPEN ") + kFile + "\nCOL CLOSE");
  EXPECT_TRUE(SingleModLog(run.game(), body, true) == run.Run());
  EXPECT_TRUE(full == ReadTestFile(run.game() + kFile));
}

}  // namespace
}  // namespace quarn
