#include "tools/samplegen/sample_mod.h"

#include <filesystem>

#include "tools/samplegen/native_output.h"
#include "tools/samplegen/sample_ipl.h"
#include "tools/samplegen/sample_lists.h"
#include "tools/samplegen/section_file.h"

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
      "PRINT Sample mod installed.",
  };
  InsertReplacementScript(mod, &script);
  return script;
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
  PlanReplacedObject(plan, first_id + 4, &mod);
  mod.script = ModScript(mod);
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
                         ModelBytes(mod.added_texture, 2048), error);
}

}  // namespace quarn
