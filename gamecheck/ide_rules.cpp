#include "gamecheck/ide_rules.h"

#include <string_view>
#include <vector>

#include "gamecheck/game_lines.h"
#include "ide/ide_sections.h"
#include "text/ascii.h"

namespace quarn {
namespace {

using Values = std::vector<std::string_view>;

// True, with `*section` set, when `text` opens a section: the game
// compares its first four characters with the lower-case headers.
bool OpensSection(std::string_view text, IdeSection* section) {
  const std::vector<std::string>& headers = IdeSectionKeywords();
  for (size_t i = 0; i < headers.size(); ++i) {
    if (text.compare(0, 4, headers[i]) == 0) {
      *section = static_cast<IdeSection>(i);
      return true;
    }
  }
  return false;
}

bool IsKnownVehicleType(std::string_view type) {
  static const char* const kTypes[] = {"car",  "boat",  "train",
                                       "heli", "plane", "bike"};
  for (const char* known : kTypes) {
    if (type == known) return true;
  }
  return false;
}

bool IsKnownAnimationGroup(std::string_view group) {
  static const char* const kGroups[] = {
      "man",           "van",          "coach",        "bmx",
      "bike_standard", "bike_vespa",   "bike_harley",  "bike_dirt",
      "unarmed",       "screwdrv",     "knife",        "baseball",
      "golfclub",      "chainsaw",     "python",       "colt45",
      "shotgun",       "buddy",        "tec",          "uzi",
      "rifle",         "m60",          "sniper",       "grenade",
      "flame",         "rocketla",     "medic",        "sunbathe",
      "playidles",     "riot",         "strip",        "lance",
      "player",        "playerrocket", "player1armed", "player2armed",
      "playerback",    "woman",        "shopping",     "busywoman",
      "sexywoman",     "fatwoman",     "oldwoman",     "jogwoman",
      "oldman",        "fatman",       "oldfatman",    "jogger",
      "shuffle",       "skate",        "panicchunky",  "gang1",
      "gang2"};
  for (const char* known : kGroups) {
    if (group == known) return true;
  }
  return false;
}

struct IdeReader {
  const std::string& path;
  LoadedGame* game;
  CheckFindings& findings;

  void Problem(const GameLine& line, CheckEffect effect,
               const std::string& what, const char* rule) {
    findings.Add(path, line.number, effect, what, rule);
  }

  // The ID indexes a table the game never bounds-checks, and the built-in
  // models sit at fixed IDs; false when the line goes no further.
  bool CheckId(const GameLine& line, long id) {
    if (!game->IdInModelTable(id, path, line.number)) return false;
    if (id >= kFirstBuiltInId && id <= kLastBuiltInId) {
      Problem(line, CheckEffect::kCrashes,
              "model ID " + std::to_string(id) + " is one the game builds in",
              "built-in-id");
      return false;
    }
    findings.Reach(Limit::kModelIds, id + 1, path, line.number);
    return true;
  }

  void CheckNames(const GameLine& line, const Values& values) {
    if (values[1].size() > kModelNameCapacity) {
      Problem(line, CheckEffect::kCuts,
              "model name " + std::string(values[1]) +
                  " to its first 21 "
                  "characters",
              "model-name");
    }
    if (values[2].size() > kTxdNameCapacity) {
      Problem(line, CheckEffect::kCuts,
              "texture dictionary name " + std::string(values[2]) +
                  " to its first 20 characters",
              "txd-name");
    }
  }

  void Define(const GameLine& line, const Values& values, long id,
              ModelKind kind) {
    CheckNames(line, values);
    DefinedModel model;
    model.kind = kind;
    model.name =
        ToLowerAscii(std::string(values[1].substr(0, kModelNameCapacity)));
    model.file = path;
    model.line = line.number;
    auto found = game->models.find(id);
    if (found != game->models.end()) {
      Problem(line, CheckEffect::kLoadsOtherCopy,
              "model ID " + std::to_string(id) + " replaces " +
                  found->second.name + " of " + found->second.file + ":" +
                  std::to_string(found->second.line),
              "duplicate-id");
    }
    game->model_names.insert(model.name);
    game->models[id] = std::move(model);
    game->NameTextureDictionary(
        std::string(values[2].substr(0, kTxdNameCapacity)), path, line.number);
  }

  void ReadModel(const GameLine& line, const Values& values, Limit table,
                 ModelKind kind) {
    long id = 0;
    if (!GameInteger(values[0], &id) || !CheckId(line, id)) return;
    Define(line, values, id, kind);
    findings.Use(table, path, line.number);
  }

  void ReadObject(const GameLine& line, const Values& values, bool timed) {
    long meshes = 0;
    if (values.size() < 4 || !GameInteger(values[3], &meshes)) {
      Problem(line, CheckEffect::kDropsLine,
              "an object line needs ID, model, texture dictionary and mesh "
              "count",
              "ide-short-line");
      return;
    }
    if (meshes < 1 || meshes > 3) {
      Problem(line, CheckEffect::kCrashes,
              "mesh count " + std::to_string(meshes) + " outside 1 to 3",
              "mesh-count");
      return;
    }
    ReadModel(line, values, timed ? Limit::kTimeModels : Limit::kSimpleModels,
              timed ? ModelKind::kTime : ModelKind::kSimple);
  }

  void ReadNamedKind(const GameLine& line, const Values& values, size_t index,
                     bool known, const char* what, const char* rule,
                     Limit table, ModelKind kind) {
    if (values.size() <= index || !known) {
      Problem(line, CheckEffect::kFailsToLoad,
              std::string("unknown ") + what + " " +
                  (values.size() > index ? std::string(values[index]) : ""),
              rule);
      return;
    }
    ReadModel(line, values, table, kind);
  }

  void ReadEffect(const GameLine& line, const Values& values) {
    long id = 0;
    if (!GameInteger(values[0], &id)) return;
    if (game->models.count(id) == 0) {
      Problem(line, CheckEffect::kCrashes,
              "2dfx entry for model ID " + std::to_string(id) +
                  ", which no line before it defines",
              "2dfx-model");
      return;
    }
    findings.Use(Limit::kEffects, path, line.number);
  }

  void ReadLine(IdeSection section, const GameLine& line,
                const Values& values) {
    switch (section) {
      case IdeSection::kObjs:
      case IdeSection::kTobj:
        return ReadObject(line, values, section == IdeSection::kTobj);
      case IdeSection::k2dfx:
        return ReadEffect(line, values);
      case IdeSection::kPeds:
        return ReadNamedKind(
            line, values, 5,
            values.size() > 5 && IsKnownAnimationGroup(values[5]),
            "animation group", "ped-anim-group", Limit::kPedModels,
            ModelKind::kPed);
      case IdeSection::kCars:
        return ReadNamedKind(line, values, 3,
                             values.size() > 3 && IsKnownVehicleType(values[3]),
                             "vehicle type", "vehicle-type",
                             Limit::kVehicleModels, ModelKind::kVehicle);
      case IdeSection::kWeap:
      case IdeSection::kHier:
        return ReadModel(line, values,
                         section == IdeSection::kWeap ? Limit::kWeaponModels
                                                      : Limit::kClumpModels,
                         section == IdeSection::kWeap ? ModelKind::kWeapon
                                                      : ModelKind::kClump);
      case IdeSection::kPath:
        return;
    }
  }
};

}  // namespace

void CheckIdeFile(const std::string& path, const std::string& bytes,
                  LoadedGame* game) {
  IdeReader reader{path, game, game->findings};
  bool in_section = false;
  IdeSection section = IdeSection::kObjs;
  for (const GameLine& line : ReadGameLines(bytes)) {
    const std::string_view text = WithoutLeadingBlanks(line.text);
    if (text.empty() || text[0] == '#') continue;
    if (line.cut) {
      reader.Problem(line, CheckEffect::kCuts, "the line past 255 characters",
                     "line-length");
    }
    if (!in_section) {
      in_section = OpensSection(text, &section);
      continue;
    }
    if (text.compare(0, 3, "end") == 0) {
      in_section = false;
      continue;
    }
    const Values values = GameValues(text);
    if (values.size() >= 3 || section == IdeSection::k2dfx ||
        section == IdeSection::kObjs || section == IdeSection::kTobj) {
      reader.ReadLine(section, line, values);
    }
  }
}

}  // namespace quarn
