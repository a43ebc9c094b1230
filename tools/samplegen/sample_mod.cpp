#include "tools/samplegen/sample_mod.h"

#include <filesystem>

#include "text/ascii.h"
#include "tools/samplegen/col_writer.h"
#include "tools/samplegen/native_output.h"
#include "tools/samplegen/sample_ipl.h"
#include "tools/samplegen/sample_lists.h"
#include "tools/samplegen/section_text.h"

namespace quarn {
namespace fs = std::filesystem;
namespace {

// The mod's own model names begin with a prefix no sample area uses.
const char kModPrefix[] = "sm";

std::vector<SampleObject> ModObjects(int first_id) {
  std::vector<SampleObject> objects;
  for (int i = 0; i < 4; ++i) {
    SampleObject object;
    object.id = first_id + i;
    object.model = SampleModelName(kModPrefix, 10 + i);
    object.txd = SampleModelName(kModPrefix, 10);
    object.timed = i == 3;
    objects.push_back(object);
  }
  return objects;
}

std::vector<std::string> ModIdeLines(const std::vector<SampleObject>& objects) {
  TextSection objs{"objs", {}};
  TextSection tobj{"tobj", {}};
  for (const SampleObject& object : objects) {
    (object.timed ? tobj : objs)
        .lines.push_back(SampleObjectLine(object, 150, 0));
  }
  TextSection effects{"2dfx",
                      {std::to_string(objects.front().id) +
                       ", 0, 0, 3.5, 255, 200, 120, 200, 0, \"lightglow\", "
                       "\"shadowfx\", 100, 0, 1, 0, 40, 1, 0, 0, 0"}};
  return SectionFileLines({"# the sample mod's new objects"},
                          {objs, tobj, {"path", {}}, effects});
}

// The game's lists learn of the mod: gta_vc.dat lists its IDE file and
// shows its loading screen; object.dat gets the properties of the mod's
// first object and new ones for an object of the game.
std::vector<std::string> GameListEdits(const SampleModPlan& mod) {
  std::vector<std::string> lines = {"",
                                    "; the game loads the new definitions",
                                    "GTA_VC.DAT OPEN",
                                    "gta_vc.dat add " + mod.listed_ide,
                                    "GTA_VC.DAT ADD SPLASH2 SPLASH samplemod",
                                    "GTA_VC.DAT CLOSE",
                                    "OBJECT.DAT OPEN"};
  if (!mod.redefined_object.empty()) {
    lines.push_back("OBJECT.DAT DEL " + mod.redefined_object +
                    ",*   ; its old properties");
  }
  for (const std::string& line : mod.object_lines) {
    lines.push_back("OBJECT.DAT ADD " + line);
  }
  lines.push_back("OBJECT.DAT CLOSE");
  return lines;
}

// An object.dat line for `model` whose properties tell it apart.
std::string ObjectDatLine(const std::string& model, int mass) {
  return model + ",\t" + std::to_string(mass) +
         ".0,\t4000.0\t0.99,\t0.05,\t50.0,\t200.0,\t1.0,\t0,\t1,\t0";
}

// The first object of the game that object.dat describes, or empty.
std::string FirstListedObject(const SampleGamePlan& plan) {
  for (const SampleAreaObjects& area : plan.areas) {
    if (!area.objects.empty()) return area.objects.front().model;
  }
  return "";
}

// A new object with the fresh ID `new_id` takes the place of the first
// object of the first map area that has objects: it stands where that
// object stood first.
void PlanReplacedObject(const SampleGamePlan& game, int new_id,
                        SampleModPlan* mod) {
  for (const SampleAreaObjects& area : game.areas) {
    if (area.area.name == "generic" || area.objects.empty()) continue;
    if (new_id > 65535) return;
    SampleObject added;
    added.id = new_id;
    added.model = SampleModelName(kModPrefix, 14);
    added.txd = SampleModelName(kModPrefix, 10);
    const SampleObject& removed = area.objects.front();
    const std::string first = SampleAreaIplLines(area, game.options.seed)[1];
    const std::string placed =
        std::to_string(removed.id) + ", " + removed.model;
    mod->edited_ide = SampleListedPath(area.area, "IDE");
    mod->edited_ipl = SampleListedPath(area.area, "IPL");
    mod->removed_id = removed.id;
    mod->added_definition = SampleObjectLine(added, 150, 0);
    mod->added_placement = std::to_string(added.id) + ", " + added.model +
                           first.substr(placed.size());
    return;
  }
}

// Inserts the replacement's edits before the script's last line. Every line
// that begins with the removed object's ID goes: its definition and its lights,
// then its placements.
void InsertReplacementScript(const SampleModPlan& mod,
                             std::vector<std::string>* script) {
  if (mod.edited_ide.empty()) return;
  const std::string removed = std::to_string(mod.removed_id) + ", *";
  script->insert(script->end() - 1,
                 {
                     "; a new object takes the place of a map object",
                     "IDE OPEN " + mod.edited_ide,
                     "IDE DEL " + removed,
                     "IDE ADD OBJS " + mod.added_definition,
                     "IDE CLOSE",
                     "Ipl Open " + mod.edited_ipl,
                     "IPL DEL INST " + removed,
                     "IPL ADD INST " + mod.added_placement,
                     "IPL CLOSE",
                 });
}

std::vector<std::string> ModScript(const SampleModPlan& mod) {
  std::vector<std::string> script = {
      "; QuarnInstall.txt of the sample mod",
      ";",
      "; Adds a small kiosk area to the generated sample game.",
      "",
      "PRINT Sample mod for the generated sample game   ; shown in the log",
      "PRINT",
      "cls",
      "Print  Installing   the sample mod...",
      "",
      "; a folder of its own for the new definitions",
      "DIR CREATE " + mod.created_folder,
      "copy SAMPLE.IDE TO " + mod.copied_ide + "   ; fresh object IDs",
      "COPY \"Read Me.txt\" TO \"" + mod.copied_text + "\"",
      "   ",
      "; the models go into the archive",
      "Dir Select models",
      "IMG OPENDEF",
      "IMG ADD " + mod.replaced_entry + " ; replaces the game's model",
      "IMG ADD " + mod.added_model,
      "img add " + mod.added_texture,
      "IMG DELETE " + mod.deleted_entry,
      "Img Close",
  };
  const std::vector<std::string> list_edits = GameListEdits(mod);
  script.insert(script.end(), list_edits.begin(), list_edits.end());
  script.push_back("PRINT Sample mod installed.");
  InsertReplacementScript(mod, &script);
  return script;
}

// The collision models follow the archive: the replaced model's is
// replaced, the deleted model's removed, the kiosk's added. Inserted before
// the script's last line.
void AddColEdits(SampleModPlan* mod, const std::vector<SampleObject>& objects) {
  const auto stem = [](const std::string& file) {
    return file.substr(0, file.rfind('.'));
  };
  mod->col_file = "models\\coll\\generic.col";
  mod->col_source = "SAMPLE.COL";
  mod->col_replaced = stem(mod->replaced_entry);
  mod->col_deleted = stem(mod->deleted_entry);
  for (const SampleObject& object : objects) {
    mod->col_added.push_back(object.model);
  }
  const std::vector<std::string> lines = {
      "",
      "; collision models: one replaced, one removed, the kiosk's added",
      "COL OPEN " + mod->col_file,
      "Col Add " + mod->col_replaced + " from " + mod->col_source,
      "COL DELETE " + ToUpperAscii(mod->col_deleted),
      "COL ADDFILE " + mod->col_source,
      "COL CLOSE",
  };
  mod->script.insert(mod->script.end() - 1, lines.begin(), lines.end());
}

// Recognisable contents whose length is not a whole number of sectors, so
// the rebuild has to complete the last sector.
std::string ModelBytes(const std::string& name, size_t length) {
  const std::string pattern = "sample mod file " + name + "\r\n";
  std::string bytes;
  while (bytes.size() < length) bytes += pattern;
  bytes.resize(length);
  return bytes;
}

// The replacement differs from the game's model of that name: another seed.
std::string ModColBytes(const SampleModPlan& mod, uint64_t game_seed) {
  std::vector<std::string> names = {mod.col_replaced};
  names.insert(names.end(), mod.col_added.begin(), mod.col_added.end());
  return ColFileBytes(names, game_seed + 1);
}

}  // namespace

SampleModPlan PlanSampleMod(const SampleGameOptions& game) {
  SampleModPlan mod;
  if (!CheckSampleGameOptions(game).empty()) return mod;
  const SampleGamePlan plan = PlanSampleGame(game);
  const int first_id = HighestSampleObjectId(plan.areas) + 1;
  if (plan.img.size() < 3 || first_id + 3 > 65535) return mod;
  mod.replaced_entry = plan.img[1].name;
  mod.deleted_entry = plan.img[2].name;
  mod.added_model = SampleModelName(kModPrefix, 10) + ".dff";
  mod.added_texture = SampleModelName(kModPrefix, 10) + ".txd";
  mod.created_folder = "data\\maps\\samplemod";
  mod.copied_ide = "DATA\\MAPS\\SAMPLEMOD\\SAMPLE.IDE";
  mod.copied_text = "data\\maps\\samplemod\\Sample Mod.txt";
  for (const SampleObject& object : ModObjects(first_id)) {
    mod.new_ids.push_back(object.id);
  }
  mod.listed_ide = "IDE " + mod.copied_ide;
  mod.redefined_object = FirstListedObject(plan);
  mod.object_lines = {ObjectDatLine(ModObjects(first_id).front().model, 750)};
  if (!mod.redefined_object.empty()) {
    mod.object_lines.push_back(ObjectDatLine(mod.redefined_object, 1250));
  }
  PlanReplacedObject(plan, first_id + 4, &mod);
  mod.script = ModScript(mod);
  AddColEdits(&mod, ModObjects(first_id));
  return mod;
}

bool WriteSampleMod(const std::string& dir, const SampleGameOptions& game,
                    std::string* error) {
  const std::string problem = CheckSampleGameOptions(game);
  if (!problem.empty()) {
    *error = problem;
    return false;
  }
  const SampleModPlan mod = PlanSampleMod(game);
  if (mod.replaced_entry.empty()) {
    *error =
        "the sample mod needs a game with at least 3 archive entries "
        "and free object IDs above its own";
    return false;
  }
  const fs::path folder(dir);
  const fs::path models = folder / "models";
  return WriteNativeTextFile(folder / "QuarnInstall.txt", mod.script, error) &&
         WriteNativeTextFile(folder / "SAMPLE.IDE",
                             ModIdeLines(ModObjects(mod.new_ids.front())),
                             error) &&
         WriteNativeTextFile(folder / "Read Me.txt",
                             {"Sample mod", "",
                              "Adds a kiosk area with "
                              "four new objects to the sample game."},
                             error) &&
         WriteNativeFile(models / mod.replaced_entry,
                         ModelBytes(mod.replaced_entry, 3000), error) &&
         WriteNativeFile(models / mod.added_model,
                         ModelBytes(mod.added_model, 5000), error) &&
         WriteNativeFile(models / mod.added_texture,
                         ModelBytes(mod.added_texture, 2048), error) &&
         WriteNativeFile(folder / mod.col_source, ModColBytes(mod, game.seed),
                         error);
}

}  // namespace quarn
