#include "run/copy_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "testutil/expected_log.h"
#include "testutil/script_run.h"
#include "testutil/single_mod_test.h"
#include "testutil/test_files.h"
#include "text/ascii.h"

namespace quarn {
namespace {

class CopyTest : public SingleModTest {
 protected:
  // The two lines a copy writes before its outcome.
  std::string Copying(const std::string& source, const std::string& dest) {
    return "Copy " + mod() + source + "\r\n to " + game() + dest + "... ";
  }
};

TEST_F(CopyTest, UnquotedFormUpperCasesBothPaths) {
  WriteTestFile(mod() + "ReadMe.txt", "mod text");
  MakeTestFolder(game() + "docs");

  EXPECT_EQ(Selected() + Copying("README.TXT", "DOCS\\NEW NAME.TXT") +
                "ok\r\n" + DoneBanner(),
            RunScript("copy ReadMe.txt to docs\\New   Name.txt"));
  EXPECT_EQ("mod text", ReadTestFile(game() + "docs\\NEW NAME.TXT"));
  // The name on disk, whatever letter case the file system ignores.
  std::vector<FolderEntry> entries;
  run_.fs().ListFolder(game() + "docs\\", &entries);
  std::vector<std::string> names;
  for (const FolderEntry& entry : entries) {
    if (entry.name != "." && entry.name != "..") names.push_back(entry.name);
  }
  EXPECT_EQ(std::vector<std::string>({"NEW NAME.TXT"}), names);
}

TEST_F(CopyTest, QuotedFormKeepsCaseAndSingleBlanks) {
  WriteTestFile(mod() + "My Car.dff", "model");
  MakeTestFolder(game() + "models");

  // Line cleaning has folded the runs of blanks inside the quotes.
  EXPECT_EQ(Selected() + Copying("My Car.dff", "models\\Fast Car.dff") +
                "ok\r\n" + DoneBanner(),
            RunScript("COPY \"My   Car.dff\" TO \"models\\Fast  Car.dff\""));
  EXPECT_EQ("model", ReadTestFile(game() + "models\\Fast Car.dff"));
}

TEST_F(CopyTest, MalformedLinesFailBeforeAnythingIsCopied) {
  struct Case {
    const char* line;
    const char* message;  // null: the run fails silently
  };
  const Case cases[] = {
      {"COPY a.txt b.txt",
       "Use COPY <source within your mod> TO <dest within game>\r\n"},
      {"COPY a.txt TO b.txt TO c.txt", "Illegal instruction in COPY\r\n"},
      {"COPY \"a.txt\" to \"b.txt\"",
       "Use COPY <source within your mod> TO <dest within game>\r\n"},
      {"COPY \"a.txt\" TO \"b\"\"c.txt\"",
       "When using quotes, make sure you use 4 of them, 2 on each file\r\n"},
      {"COPY \"a.txt\" TO b.txt",
       "When using quotes, make sure you use 4 of them, 2 on each file\r\n"},
      {"COPY \"\"\"\" TO b.txt", nullptr},
  };
  for (const Case& c : cases) {
    ScriptRun run;
    WriteTestFile(run.installer() + "a.txt", "a");
    run.WriteScript(c.line);
    EXPECT_EQ(SelectedGameLine(run.game()) + (c.message ? c.message : "") +
                  FailedBanner(),
              run.Run())
        << c.line;
    std::vector<FolderEntry> entries;
    run.fs().ListFolder(run.game(), &entries);
    EXPECT_EQ(3u, entries.size()) << c.line;  // ".", ".." and gta-vc.exe
  }
}

TEST_F(CopyTest, HiddenSourceIsReportedAndStillCopied) {
  WriteTestFile(mod() + "secret.txt", "hidden bytes");
  ASSERT_TRUE(run_.fs().SetAttributes(mod() + "secret.txt", kAttrHidden));

  EXPECT_EQ(Selected() + Copying("secret.txt", "secret.txt") + " \r\n" +
                "Not found: " + mod() + "secret.txt\r\nok\r\n" + DoneBanner(),
            RunScript("COPY \"secret.txt\" TO \"secret.txt\""));
  EXPECT_EQ("hidden bytes", ReadTestFile(game() + "secret.txt"));
}

TEST_F(CopyTest, ReadOnlyDestinationIsReplaced) {
  WriteTestFile(mod() + "new.txt", "new");
  WriteTestFile(game() + "old.txt", "old");
  ASSERT_TRUE(run_.fs().SetAttributes(game() + "old.txt", kAttrReadOnly));

  EXPECT_EQ(
      Selected() + Copying("new.txt", "old.txt") + "ok\r\n" + DoneBanner(),
      RunScript("COPY \"new.txt\" TO \"old.txt\""));
  EXPECT_EQ("new", ReadTestFile(game() + "old.txt"));
}

TEST_F(CopyTest, FolderAsDestinationCannotBeAccessed) {
  WriteTestFile(mod() + "a.txt", "a");
  MakeTestFolder(game() + "data\\maps");

  EXPECT_EQ(Selected() + Copying("a.txt", "data\\maps") + "Can't access " +
                game() + "data\\maps\r\n" + FailedBanner(),
            RunScript("COPY \"a.txt\" TO \"data\\maps\"\nPRINT never"));
}

TEST_F(CopyTest, MissingDestinationFolderFailsTheCopy) {
  WriteTestFile(mod() + "a.txt", "a");

  EXPECT_EQ(Selected() + Copying("a.txt", "nowhere\\a.txt") + "failed\r\n" +
                FailedBanner(),
            RunScript("COPY \"a.txt\" TO \"nowhere\\a.txt\""));
  EXPECT_FALSE(TestPathExists(game() + "nowhere"));
}

TEST_F(CopyTest, PathsTooLongToKeepWholeAreRefused) {
  WriteTestFile(mod() + "a.txt", "a");
  const size_t room = kCopyPathCapacity - game().size();
  const std::string fits(room, 'f');
  const std::string over = std::string(room - 3, 'o') + ".ide.bak";

  EXPECT_EQ(Selected() + Copying("a.txt", fits) + "ok\r\n" +
                "Path too long in COPY: " + game() + over + "\r\n" +
                FailedBanner(),
            RunScript("COPY \"a.txt\" TO \"" + fits +
                      "\"\nCOPY \"a.txt\" TO \"" + over + "\""));
  EXPECT_EQ("a", ReadTestFile(game() + fits));
  EXPECT_FALSE(TestPathExists(game() + over.substr(0, room)));

  ScriptRun run;
  const std::string source(kCopyPathCapacity + 1 - run.installer().size(), 's');
  run.WriteScript("COPY \"" + source + "\" TO \"x.txt\"");
  EXPECT_EQ(SelectedGameLine(run.game()) + "Path too long in COPY: " +
                run.installer() + source + "\r\n" + FailedBanner(),
            run.Run());
}

TEST_F(CopyTest, ScriptedRunWithoutInstallPathWritesNothing) {
  WriteTestFile(mod() + "a.txt", "a");
  run_.context().ChosenPath = kScriptedPath;

  EXPECT_EQ("Install path unknown\r\n" + FailedBanner(),
            RunScript("COPY a.txt TO ESCAPED.TXT"));
  EXPECT_FALSE(TestPathExists("ESCAPED.TXT"));
  EXPECT_FALSE(TestPathExists(mod() + "ESCAPED.TXT"));
}

// Every name under `folder` except those under `skip`, in engine form.
void CollectNames(FileSystem& fs, const std::string& folder,
                  const std::string& skip, std::vector<std::string>* names) {
  std::vector<FolderEntry> entries;
  fs.ListFolder(folder, &entries);
  for (const FolderEntry& entry : entries) {
    if (entry.name == "." || entry.name == "..") continue;
    const std::string path = folder + entry.name;
    if (path + "\\" == skip) continue;
    names->push_back(path);
    if (entry.attributes & kAttrDirectory) {
      CollectNames(fs, path + "\\", skip, names);
    }
  }
}

TEST(CopyContainment, NoDestinationReachesOutsideTheGameFolder) {
  struct Case {
    const char* destination;
    const char* message;  // null: stays inside the game, not refused
  };
  const char kDots[] = "Script error: .. not allowed in COPY";
  const char kColon[] = "Script error: Colon not allowed in COPY";
  const char kRoot[] = "Script error: Root specifier not allowed in COPY";
  const Case cases[] = {
      {"..\\ESCAPED.TXT", kDots},
      {"data\\..\\..\\ESCAPED.TXT", kDots},
      {"..\\..\\ESCAPED.TXT", kDots},
      {"../ESCAPED.TXT", kDots},
      {"data/../../ESCAPED.TXT", kDots},
      {"..", kDots},
      {"...\\ESCAPED.TXT", kDots},
      {"\\ESCAPED.TXT", kRoot},
      {"\\..\\ESCAPED.TXT", kRoot},
      {"C:\\ESCAPED.TXT", kColon},
      {"c:ESCAPED.TXT", kColon},
      {"\\\\server\\share\\ESCAPED.TXT", kRoot},
      {"\\..:\\ESCAPED.TXT", kColon},
      {"/ESCAPED.TXT", nullptr},
      {"//ESCAPED.TXT", nullptr},
      {"data\\ESCAPED.TXT", nullptr},
  };
  for (const Case& c : cases) {
    for (bool quoted : {true, false}) {
      ScriptRun run;
      const std::string& installer = run.installer();
      const size_t name_start = installer.rfind('\\', installer.size() - 2);
      const std::string parent = installer.substr(0, name_start + 1);
      // Named after this run's own folder, so that nothing another run left
      // behind can be mistaken for an escape.
      const std::string escaped = ToUpperAscii(
          "ESCAPED-" +
          installer.substr(name_start + 1, installer.size() - name_start - 2) +
          ".TXT");
      std::string dest = c.destination;
      const size_t at = dest.find("ESCAPED.TXT");
      if (at != std::string::npos) dest.replace(at, 11, escaped);
      WriteTestFile(installer + "payload.txt", "payload");
      MakeTestFolder(run.game() + "DATA");
      run.WriteScript(quoted ? "COPY \"payload.txt\" TO \"" + dest + "\""
                             : "COPY payload.txt TO " + dest);
      std::vector<std::string> before;
      CollectNames(run.fs(), installer, run.game(), &before);
      const std::string log = run.Run();

      if (c.message != nullptr) {
        EXPECT_EQ(
            SelectedGameLine(run.game()) + c.message + "\r\n" + FailedBanner(),
            log)
            << dest;
      }
      std::vector<std::string> after;
      CollectNames(run.fs(), installer, run.game(), &after);
      EXPECT_EQ(before, after) << dest;
      EXPECT_FALSE(TestPathExists(parent + escaped)) << dest;
    }
  }
}

TEST_F(CopyTest, CopiedIdeFilesAreScannedWhateverTheirCase) {
  WriteTestFile(mod() + "first.ide", "objs\r\n700, a\r\nend\r\n");
  WriteTestFile(mod() + "second.ide", "cars\r\n700, b\r\nend\r\n");
  MakeTestFolder(game() + "data\\maps");
  const std::string script =
      "COPY \"first.ide\" TO \"data\\maps\\First.IdE\"\n"
      "COPY \"second.ide\" TO \"data\\maps\\second.ide.bak\"\n"
      "COPY \"first.ide\" TO \"data\\MAPS\\FIRST.IDE\"\n"
      "COPY second.ide TO data\\maps\\second.ide\n"
      "PRINT never reached";

  EXPECT_EQ(Selected() + Copying("first.ide", "data\\maps\\First.IdE") +
                "ok\r\n-- Scanning IDE file: " + game() +
                "data\\maps\\First.IdE ... ok\r\n" +
                Copying("second.ide", "data\\maps\\second.ide.bak") + "ok\r\n" +
                Copying("first.ide", "data\\MAPS\\FIRST.IDE") +
                "ok\r\n-- Scanning IDE file: " + game() +
                "data\\MAPS\\FIRST.IDE ... ok\r\n" +
                Copying("SECOND.IDE", "DATA\\MAPS\\SECOND.IDE") +
                "ok\r\n-- Scanning IDE file: " + game() +
                "DATA\\MAPS\\SECOND.IDE ... ERROR: Object ID  700 already "
                "used\r\n" +
                FailedBanner(),
            RunScript(script));
  EXPECT_EQ("cars\r\n700, b\r\nend\r\n",
            ReadTestFile(game() + "data\\maps\\SECOND.IDE"));
}

TEST_F(CopyTest, ANameEndingInDotsOrBlanksIsStillScanned) {
  // Windows stores "second.ide. " as second.ide: its IDs must be checked.
  WriteTestFile(mod() + "first.ide", "objs\r\n700, a\r\nend\r\n");
  WriteTestFile(mod() + "second.ide", "cars\r\n700, b\r\nend\r\n");
  MakeTestFolder(game() + "data");
  const std::string log = RunScript(
      "COPY \"first.ide\" TO \"data\\first.ide\"\n"
      "COPY \"second.ide\" TO \"data\\second.ide. \"\n"
      "PRINT never reached");
  EXPECT_NE(std::string::npos,
            log.find("-- Scanning IDE file: " + game() +
                     "data\\second.ide.  ... ERROR: Object ID  700 already "
                     "used\r\n"))
      << log;
}

}  // namespace
}  // namespace quarn
