#include "tools/samplegen/sample_mod.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "platform/existence.h"
#include "platform/file_system.h"
#include "run/runner.h"
#include "testutil/expected_log.h"
#include "testutil/script_run.h"
#include "testutil/test_files.h"
#include "text/ascii.h"
#include "text/lines.h"
#include "tools/samplegen/game_reading_for_tests.h"
#include "tools/samplegen/sample_lists.h"

namespace quarn {
namespace {

// A script line as the runner cleans it: comment cut, blanks trimmed and
// runs of blanks collapsed.
std::string Cleaned(const std::string& line) {
  std::string text = TrimBlanks(line.substr(0, line.find(';')));
  for (size_t at; (at = text.find("  ")) != std::string::npos;) {
    text.erase(at, 1);
  }
  return text;
}

// A COL file's chunks as (upper-cased name, whole chunk), read by the
// record layout: "COLL", a little-endian size, the 24-byte name field.
std::vector<std::pair<std::string, std::string>> ColModelsForTest(
    const std::string& bytes) {
  std::vector<std::pair<std::string, std::string>> models;
  for (size_t at = 0; at + 32 <= bytes.size();) {
    const size_t length = 8 + U32At(bytes, at + 4);
    const std::string field = bytes.substr(at + 8, 24);
    models.push_back({ToUpperAscii(field.substr(0, field.find('\0'))),
                      bytes.substr(at, length)});
    at += length;
  }
  return models;
}

class SampleModTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(WriteSampleGame(NativePath(game_), SampleGameOptions(), &error))
        << error;
    ASSERT_TRUE(WriteSampleMod(NativePath(mod_), SampleGameOptions(), &error))
        << error;
  }

  // The names of the game's archive entries, upper-cased.
  std::set<std::string> ArchiveNames() {
    std::set<std::string> names;
    for (const DirRecordForTest& record :
         DirRecordsForTest(ReadTestFile(game_ + "models\\gta3.dir"))) {
      names.insert(
          ToUpperAscii(record.field.substr(0, record.field.find('\0'))));
    }
    return names;
  }

  // Every ID the game's IDE files claim.
  std::set<int> GameIds() {
    std::set<int> ids;
    std::vector<std::string> files = {"data\\default.ide"};
    for (const SampleArea& area : SampleAreas(SampleGameOptions().ide_files)) {
      files.push_back(ToLowerForTest(SampleListedPath(area, "IDE")));
    }
    for (const std::string& file : files) {
      for (const auto& [id, count] :
           IdeIdsForTest(SplitLines(ReadTestFile(game_ + file)))) {
        ids.insert(id);
      }
    }
    return ids;
  }

  TempFolder folder_;
  std::string mod_ = folder_.path();
  std::string game_ = folder_.path() + "game\\";
  SampleModPlan plan_ = PlanSampleMod(SampleGameOptions());
};

TEST_F(SampleModTest, ArchiveCommandsFindWhatTheyNeed) {
  const std::set<std::string> names = ArchiveNames();
  ASSERT_FALSE(plan_.replaced_entry.empty());
  EXPECT_EQ(1u, names.count(ToUpperAscii(plan_.replaced_entry)));
  EXPECT_EQ(1u, names.count(ToUpperAscii(plan_.deleted_entry)));
  EXPECT_EQ(0u, names.count(ToUpperAscii(plan_.added_model)));
  EXPECT_EQ(0u, names.count(ToUpperAscii(plan_.added_texture)));
  EXPECT_NE(ToUpperAscii(plan_.replaced_entry),
            ToUpperAscii(plan_.deleted_entry));

  // IMG ADD takes its files from the folder DIR SELECT chose; they must be
  // there under the name the script gives, not empty, and fit the field.
  std::string source = mod_;
  std::set<std::string> added;
  for (const std::string& line :
       SplitLines(ReadTestFile(mod_ + "QuarnInstall.txt"))) {
    const std::string command = Cleaned(line);
    if (StartsWithIgnoringCase(command, "DIR SELECT ")) {
      source = mod_ + command.substr(11) + "\\";
    }
    if (!StartsWithIgnoringCase(command, "IMG ADD ")) continue;
    const std::string name = command.substr(8);
    added.insert(name);
    EXPECT_LE(name.size(), 23u) << name;
    EXPECT_EQ(std::string::npos, name.find('\\')) << name;
    const std::string bytes = ReadTestFile(source + name);
    EXPECT_NE("<missing>", bytes) << name;
    EXPECT_FALSE(bytes.empty()) << name;
  }
  EXPECT_EQ(std::set<std::string>(
                {plan_.replaced_entry, plan_.added_model, plan_.added_texture}),
            added);
}

TEST_F(SampleModTest, CopiedIdeFileBringsOnlyFreshIds) {
  const std::map<int, int> ids =
      IdeIdsForTest(SplitLines(ReadTestFile(mod_ + "SAMPLE.IDE")));
  std::vector<int> listed;
  for (const auto& [id, count] : ids) {
    EXPECT_EQ(1, count) << id;
    listed.push_back(id);
  }
  EXPECT_EQ(plan_.new_ids, listed);
  const std::set<int> game = GameIds();
  EXPECT_GT(game.size(), 100u);
  for (int id : plan_.new_ids) EXPECT_EQ(0u, game.count(id)) << id;
}

TEST_F(SampleModTest, ScriptUsesEveryFormItShows) {
  const std::string script = ReadTestFile(mod_ + "QuarnInstall.txt");
  EXPECT_EQ(JoinLinesCrLf(SplitLines(script)), script) << "CR LF only";
  EXPECT_EQ(plan_.script, SplitLines(script));

  std::set<std::string> forms;
  bool trailing_comment = false;
  bool mixed_case = false;
  bool blank = false;
  for (const std::string& line : plan_.script) {
    const std::string command = Cleaned(line);
    blank |= TrimBlanks(line).empty();
    if (command.empty()) continue;
    trailing_comment |= line.find(';') != std::string::npos;
    mixed_case |= command.substr(0, 3) != ToUpperAscii(command.substr(0, 3));
    for (const char* form :
         {"PRINT ", "CLS", "DIR CREATE ", "DIR SELECT ", "COPY \"",
          "IMG OPENDEF", "IMG ADD ", "IMG DELETE ", "IMG CLOSE"}) {
      if (StartsWithIgnoringCase(command, form)) forms.insert(form);
    }
    if (EqualsIgnoringCase(command, "PRINT")) forms.insert("PRINT");
    if (StartsWithIgnoringCase(command, "COPY ") &&
        command.find('"') == std::string::npos) {
      forms.insert("COPY unquoted");
    }
  }
  EXPECT_EQ(11u, forms.size());
  EXPECT_TRUE(trailing_comment && mixed_case && blank);

  // The copies' sources lie in the mod; their destinations in the folder
  // the script creates first (the copy itself makes no folders).
  std::unique_ptr<FileSystem> files = MakeNativeFileSystem();
  EXPECT_TRUE(IsOrdinaryFile(*files, mod_ + "SAMPLE.IDE"));
  EXPECT_TRUE(IsOrdinaryFile(*files, mod_ + "Read Me.txt"));
  EXPECT_TRUE(
      StartsWithIgnoringCase(plan_.copied_ide, plan_.created_folder + "\\"));
  EXPECT_TRUE(
      StartsWithIgnoringCase(plan_.copied_text, plan_.created_folder + "\\"));
  EXPECT_TRUE(FolderTestPasses(*files, game_ + "data\\maps"))
      << "DIR CREATE makes one level only";
}

// The lines of a game list file that a rewrite keeps, in order.
std::vector<std::string> KeptObjectDatLines(const std::string& bytes) {
  std::vector<std::string> kept;
  for (const std::string& line : SplitLines(bytes)) {
    if (!line.empty() && line[0] != '*') kept.push_back(line);
  }
  return kept;
}

TEST(SampleModInstallTest, EditsBothGameListsAndEndsAllDone) {
  ScriptRun run;
  std::string error;
  ASSERT_TRUE(
      WriteSampleGame(NativePath(run.game()), SampleGameOptions(), &error))
      << error;
  ASSERT_TRUE(
      WriteSampleMod(NativePath(run.installer()), SampleGameOptions(), &error))
      << error;
  const SampleModPlan plan = PlanSampleMod(SampleGameOptions());
  ASSERT_FALSE(plan.redefined_object.empty());
  const std::string object_dat = run.game() + "data\\object.dat";
  std::vector<std::string> objects =
      KeptObjectDatLines(ReadTestFile(object_dat));
  const auto redefined = std::find_if(
      objects.begin(), objects.end(), [&](const std::string& line) {
        return StartsWithIgnoringCase(line, plan.redefined_object + ",");
      });
  ASSERT_NE(objects.end(), redefined);
  std::string old_line = *redefined;
  objects.erase(redefined);
  old_line.erase(std::remove(old_line.begin(), old_line.end(), '\t'),
                 old_line.end());

  const std::string log = run.Run();
  const std::string expected_lists =
      "Opening the 'gta_vc.dat' file... ok\r\nAdding: " +
      ToUpperAscii(plan.listed_ide) +
      " ... ok\r\nSetting SPLASH 2: SPLASH samplemod\r\n"
      "Rewriting the 'gta_vc.dat' file... ok\r\n"
      "Opening the 'object.dat' file...ok\r\nDeleting " +
      plan.redefined_object + ",* ...\r\nDeleted: " + old_line + "\r\n" +
      "Adding: " + plan.object_lines[0] +
      "\r\nAdding: " + plan.object_lines[1] +
      "\r\nRewriting the 'object.dat' file... ok\r\n";
  EXPECT_NE(std::string::npos, log.find(expected_lists)) << log;
  ASSERT_GE(log.size(), DoneBanner().size());
  EXPECT_EQ(DoneBanner(), log.substr(log.size() - DoneBanner().size()));

  objects.insert(objects.end(), plan.object_lines.begin(),
                 plan.object_lines.end());
  objects.insert(objects.end(), {"", "* ;end of file"});
  EXPECT_EQ(JoinLinesCrLf(objects), ReadTestFile(object_dat));
  const std::vector<std::string> listed =
      SplitLines(ReadTestFile(run.game() + "data\\gta_vc.dat"));
  EXPECT_EQ(1, std::count(listed.begin(), listed.end(),
                          ToUpperAscii(plan.listed_ide)));
  EXPECT_EQ(1, std::count(listed.begin(), listed.end(), "SPLASH samplemod"));
}

TEST_F(SampleModTest, CollisionEditsLandInTheGamesFile) {
  const std::string col = game_ + plan_.col_file;
  const auto before = ColModelsForTest(ReadTestFile(col));
  const auto source = ColModelsForTest(ReadTestFile(mod_ + plan_.col_source));
  std::set<std::string> game_names;
  for (const auto& model : before) game_names.insert(model.first);
  EXPECT_EQ(1u, game_names.count(ToUpperAscii(plan_.col_replaced)));
  EXPECT_EQ(1u, game_names.count(ToUpperAscii(plan_.col_deleted)));
  std::vector<std::string> source_names;
  for (const auto& model : source) source_names.push_back(model.first);
  std::vector<std::string> wanted = {ToUpperAscii(plan_.col_replaced)};
  for (const std::string& name : plan_.col_added) {
    EXPECT_EQ(0u, game_names.count(ToUpperAscii(name))) << name;
    wanted.push_back(ToUpperAscii(name));
  }
  EXPECT_EQ(wanted, source_names);

  std::string expected;
  for (const auto& [name, bytes] : before) {
    if (name != wanted.front() && name != ToUpperAscii(plan_.col_deleted)) {
      expected += bytes;
    }
  }
  for (const auto& model : source) expected += model.second;
  ASSERT_NE(source.front().second, before.front().second);

  std::unique_ptr<FileSystem> fs = MakeNativeFileSystem();
  MemoryLogWindow window;
  std::unique_ptr<InstallLog> log = InstallLog::Create(*fs, mod_, &window);
  InstallContext ctx(*fs, *log);
  ctx.InstallerDir = mod_;
  ctx.ChosenPath = game_;
  RunInstallation(ctx);
  EXPECT_EQ(RunState::Done, ctx.RunState) << window.shown;
  EXPECT_TRUE(expected == ReadTestFile(col));
}

// The lines of `text` that begin with `start`.
std::vector<std::string> LinesStartingWith(const std::string& text,
                                           const std::string& start) {
  std::vector<std::string> found;
  for (const std::string& line : SplitLines(text)) {
    if (line.compare(0, start.size(), start) == 0) found.push_back(line);
  }
  return found;
}

TEST(SampleModInstall, ANewObjectTakesTheRemovedObjectsPlace) {
  ScriptRun run;
  std::string error;
  ASSERT_TRUE(
      WriteSampleGame(NativePath(run.game()), SampleGameOptions(), &error));
  ASSERT_TRUE(
      WriteSampleMod(NativePath(run.installer()), SampleGameOptions(), &error));
  const SampleModPlan plan = PlanSampleMod(SampleGameOptions());
  ASSERT_FALSE(plan.edited_ide.empty());
  const std::string ide_path = run.game() + ToLowerForTest(plan.edited_ide);
  const std::string ipl_path = run.game() + ToLowerForTest(plan.edited_ipl);
  const std::string removed = std::to_string(plan.removed_id) + ", ";
  const std::string ide_before = ReadTestFile(ide_path);
  const std::string ipl_before = ReadTestFile(ipl_path);
  ASSERT_FALSE(LinesStartingWith(ide_before, removed).empty());
  ASSERT_FALSE(LinesStartingWith(ipl_before, removed).empty());

  const std::string log = run.Run();
  EXPECT_EQ(DoneBanner(), log.substr(log.size() - DoneBanner().size()));
  for (const std::string* path : {&ide_path, &ipl_path}) {
    const std::string after = ReadTestFile(*path);
    EXPECT_TRUE(LinesStartingWith(after, removed).empty()) << *path;
    EXPECT_EQ(JoinLinesCrLf(SplitLines(after)), after) << "CR LF only";
  }
  // The definition and the placement end their sections; every other line
  // stays.
  const std::string ide_after = ReadTestFile(ide_path);
  EXPECT_NE(std::string::npos,
            ide_after.find("\r\n" + plan.added_definition + "\r\nend\r\ntobj"));
  EXPECT_NE(std::string::npos,
            ReadTestFile(ipl_path).find("\r\n" + plan.added_placement +
                                        "\r\nend\r\ncull\r\nend\r\npick"));
  // It stands where the removed object stood first: the same fields after
  // the ID and the model name.
  const std::string first = LinesStartingWith(ipl_before, removed).front();
  const std::string& added = plan.added_placement;
  EXPECT_EQ(first.substr(first.find(',', removed.size())),
            added.substr(added.find(',', added.find(',') + 1)));
  // Comments and empty lines go with the rewrite; nothing else does.
  size_t kept = 0;
  for (const std::string& line : SplitLines(ide_before)) {
    kept += !line.empty() && line[0] != '#' && line.rfind(removed, 0) != 0;
  }
  EXPECT_EQ(kept + 1, SplitLines(ide_after).size());
}

TEST(SampleModPlanTest, GamesTooSmallForTheModAreRefused) {
  SampleGameOptions options;
  options.img_entries = 2;
  EXPECT_TRUE(PlanSampleMod(options).replaced_entry.empty());
  TempFolder folder;
  std::string error;
  EXPECT_FALSE(WriteSampleMod(NativePath(folder.path()), options, &error));
  EXPECT_EQ(
      "the sample mod needs a game with at least 3 archive entries and free "
      "object IDs above its own",
      error);
}

}  // namespace
}  // namespace quarn
