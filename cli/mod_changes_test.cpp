// What each mod changes and where mods collide, through the runner: the
// sample catalogue with a last mod that redoes the sample mod's work, its
// dry run as text and as JSON, and the same collisions against the mods a
// real run installed, whose change sets the journal kept.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/quarn_cli_fixture.h"
#include "testutil/col_test_chunks.h"
#include "tools/samplegen/sample_catalogue.h"
#include "tools/samplegen/sample_game.h"
#include "tools/samplegen/sample_mod.h"
#include "undo/journal_folder.h"

namespace quarn {
namespace {

class ModChangesTest : public QuarnCliTest {
 protected:
  ModChangesTest() : plan_(PlanSampleMod(options_)) {
    std::string error;
    EXPECT_TRUE(WriteSampleGame(NativePath(game()), options_, &error)) << error;
    EXPECT_TRUE(WriteSampleCatalogue(NativePath(setup()), options_, &error))
        << error;
    // The last mod replaces the sample mod's archive entry, redefines the
    // object it redefined, deletes one of its definitions and brings its own
    // kiosk collision model.
    const std::string last = setup() + "x10_Last\\";
    WriteTestFile(last + plan_.replaced_entry, std::string(3000, 'L'));
    WriteTestFile(last + "LAST.COL", TestColModel(plan_.col_added[0], 7));
    const std::vector<std::string> script = {
        "IMG OPENDEF",
        "IMG ADD " + plan_.replaced_entry,
        "IMG CLOSE",
        "OBJECT.DAT OPEN",
        "OBJECT.DAT DEL " + plan_.redefined_object + ",*",
        "OBJECT.DAT ADD " + plan_.redefined_object + ", 99.0, 1.0",
        "OBJECT.DAT CLOSE",
        "IDE OPEN " + plan_.copied_ide,
        "IDE DEL " + std::to_string(plan_.new_ids[1]) + ", *",
        "IDE CLOSE",
        "COL OPEN " + plan_.col_file,
        "COL ADD " + plan_.col_added[0] + " FROM LAST.COL",
        "COL CLOSE",
        "COPY \"order.txt\" TO \"" + std::string(kInstallOrderFile) + "\"",
    };
    std::string text;
    for (const std::string& line : script) text += line + "\r\n";
    WriteTestFile(last + "QuarnInstall.txt", text);
  }

  std::string setup() const { return folder_.path() + "setup\\"; }
  int Install(std::vector<std::string> more) {
    std::vector<std::string> args = {"install", "--dir", NativePath(setup()),
                                     "--game", NativePath(game())};
    args.insert(args.end(), more.begin(), more.end());
    return Run(args);
  }
  // The report from the line that begins with `first` on, up to the notes
  // that follow it (on Windows: the folders no probe could check).
  std::string ReportFrom(const std::string& first) const {
    const size_t at = err_.find("\n" + first);
    if (at == std::string::npos) return "";
    const size_t notes = err_.find("\nquarn: ", at);
    return err_.substr(
        at + 1, notes == std::string::npos ? std::string::npos : notes - at);
  }
  // The four things both mods change, as the report names them, with what
  // the sample mod and the last mod do to each.
  struct Thing {
    std::string name, earlier, later;
  };
  std::vector<Thing> Collided() const {
    const std::string id = std::to_string(plan_.new_ids[1]);
    return {
        {"archive entry " + plan_.replaced_entry + " in models\\gta3.img",
         "replace", "replace"},
        {"object ID " + id, "claim", "free"},
        {"object.dat entry " + plan_.redefined_object + " in data\\object.dat",
         "change", "change"},
        {"IDE entry objs " + id + " in " + plan_.copied_ide, "add", "delete"},
        {"COL model " + plan_.col_added[0] + " in " + plan_.col_file, "add",
         "change"},
    };
  }
  // The report's line for a collision of the last mod with the sample mod
  // over `thing`; `installed` tells when the sample mod was, if it was.
  std::string CollisionWithSample(const Thing& thing,
                                  const std::string& installed) const {
    std::string past = thing.earlier;
    past += past.back() == 'e' ? "d" : "ed";
    const std::string sample = installed.empty()
                                   ? sample_
                                   : sample_ + ", installed " + installed + ",";
    return "  " + last_ + " " + thing.later + "s " + thing.name + ", which " +
           sample + " " + past + "; " + last_ + " wins\n";
  }

  const SampleGameOptions options_;
  const SampleModPlan plan_;
  const std::string sample_ = "X1 (Kiosk area (the sample mod))";
  const std::string last_ = "X10_LAST (Last touches)";
};

TEST_F(ModChangesTest, EachModsChangesAndWhereTheyCollide) {
  ASSERT_EQ(kExitAllDone, Install({"--dry-run"})) << out_;
  // The sample mod's own section names the four things too.
  const std::string sample_section = ReportFrom("Mod " + sample_);
  for (const Thing& thing : Collided()) {
    std::string verb = thing.earlier;
    verb.resize(8, ' ');
    EXPECT_NE(std::string::npos, sample_section.find("  " + verb + thing.name))
        << thing.name;
  }
  const std::string id = std::to_string(plan_.new_ids[1]);
  const std::vector<std::string> last_section = {
      "Mod " + last_ + ", finished:",
      "  change  file " + plan_.copied_ide + "  (335 -> 264 bytes)",
      "  change  file data\\object.dat  (1556 -> 1513 bytes)",
      "  change  file install order.txt  (4 -> 5 bytes)",
      "  change  file " + plan_.col_file + "  (2828 -> 2714 bytes)",
      "  change  file models\\gta3.dir  (1568 -> 1568 bytes)",
      "  change  file models\\gta3.img  (395264 -> 395264 bytes)",
      "  replace archive entry " + plan_.replaced_entry +
          " in models\\gta3.img",
      "  free    object ID " + id,
      "  change  object.dat entry " + plan_.redefined_object +
          " in data\\object.dat",
      "  delete  IDE entry objs " + id + " in " + plan_.copied_ide,
      "  change  COL model " + plan_.col_added[0] + " in " + plan_.col_file,
      "Collisions in this run:",
      // The file comes first, as the last mod's files do.
      "  " + last_ +
          " changes file install order.txt, which X2 (Road signs) created; " +
          last_ + " wins",
  };
  std::string expected =
      "Mod X2 (Road signs), finished:\n"
      "  create  file install order.txt  (none -> 4 bytes)\n"
      "  create  file Road Signs.txt  (none -> 17 bytes)\n";
  for (const std::string& line : last_section) expected += line + "\n";
  for (const Thing& thing : Collided()) {
    expected += CollisionWithSample(thing, "");
  }
  expected += "Collisions with installed mods: none\n";
  // The last mod's object.dat entry has three values where the game reads
  // eleven: the check after it, not the sample mod before it, is the first
  // to find it.
  const std::string check =
      "Check of the game in " + game() +
      " as the run would leave it:\n"
      "  data\\object.dat:32: misreads it: an entry has 11 values, not 3 "
      "[object-dat-values]\n"
      "  tables: model IDs 521 / 6,500, simple models 150 / 3,885, time "
      "models 15 / 385, clump models 5 / 5, weapon models 22 / 37, ped "
      "models 49 / 130, vehicle models 50 / 110, 2dfx entries 21 / 1,210, "
      "texture dictionaries 147 / 1,385, collision slots 1 / 31, archive "
      "models without a definition 28 / 256, buildings 163 / 7,000, dummies "
      "14 / 2,340, cull zones 5 / 704, object-info slots 16 / 210, "
      "object.dat bytes 1,513 / 55,000, largest COL chunk bytes 196 / "
      "55,000\n"
      "  check: the game loads but drops or replaces something (0 problems "
      "that stop it, 1 warning)\n"
      "  object-dat-values: first broken by " +
      last_ + "\n";
  EXPECT_EQ(expected + check, ReportFrom("Mod X2"));

  // The same report as JSON, field by field.
  const std::string report = folder_.path() + "report.json";
  ASSERT_EQ(kExitAllDone, Install({"--dry-run", "--report", "json",
                                   "--report-file", NativePath(report)}));
  const nlohmann::json json = nlohmann::json::parse(ReadTestFile(report));
  ASSERT_EQ(3u, json["mods"].size());
  const nlohmann::json& last = json["mods"][2];
  EXPECT_EQ("X10_LAST", last["mod_folder"]);
  EXPECT_EQ("Last touches", last["mod_name"]);
  EXPECT_EQ("finished", last["outcome"]);
  EXPECT_EQ(11u, last["changes"].size());
  EXPECT_EQ(nlohmann::json({{"kind", "file"},
                            {"action", "change"},
                            {"file", "models\\gta3.img"},
                            {"subject", ""},
                            {"size_before", 395264},
                            {"size_after", 395264}}),
            last["changes"][5]);
  ASSERT_EQ(6u, json["collisions"].size());
  for (size_t i = 0; i < 5; ++i) {
    const nlohmann::json& collision = json["collisions"][i + 1];
    EXPECT_EQ(sample_, collision["earlier"]["mod"]);
    EXPECT_EQ(Collided()[i].earlier, collision["earlier"]["action"]);
    EXPECT_FALSE(collision["earlier"].contains("installed"));
    EXPECT_EQ(last_, collision["later"]["mod"]);
    EXPECT_EQ(Collided()[i].later, collision["later"]["action"]);
    EXPECT_EQ(last_, collision["winner"]);
  }
  EXPECT_EQ(
      nlohmann::json({{"kind", "object ID"}, {"file", ""}, {"subject", id}}),
      json["collisions"][2]["thing"]);
  EXPECT_TRUE(json["installed_collisions"].empty());

  // Installed first, the sample mod's change set is in the journal: the
  // last mod's dry run now collides with it, and history shows it whole.
  ASSERT_EQ(kExitAllDone, Install({"--mods", "X1"})) << err_;
  const std::vector<JournalEntry> installed = ListJournalEntries(*fs_, game());
  ASSERT_EQ(1u, installed.size());
  ASSERT_EQ(kExitAllDone, Install({"--mods", "x10_Last", "--dry-run"}));
  expected = "Collisions with installed mods:\n";
  for (const Thing& thing : Collided()) {
    expected += CollisionWithSample(thing, installed[0].started);
  }
  EXPECT_EQ(expected + check, ReportFrom("Collisions with installed mods"));

  const std::string sample_facts = sample_section.substr(
      sample_section.find('\n') + 1,
      sample_section.find("\nMod X2") - sample_section.find('\n'));
  ASSERT_EQ(kExitAllDone,
            Run({"history", "--game", NativePath(game()), "--changes"}));
  std::string recorded;
  for (size_t at = out_.find('\n') + 1; at < out_.size();) {
    const size_t end = out_.find('\n', at) + 1;
    recorded += out_.substr(at + 2, end - at - 2);
    at = end;
  }
  EXPECT_EQ(sample_facts, recorded);
}

}  // namespace
}  // namespace quarn
