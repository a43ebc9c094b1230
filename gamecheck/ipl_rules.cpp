#include "gamecheck/ipl_rules.h"

#include <string_view>
#include <vector>

#include "gamecheck/game_lines.h"

namespace quarn {
namespace {

enum class Section { kNone, kInst, kCull, kOther };

Section SectionOpenedBy(std::string_view text) {
  if (text.compare(0, 4, "inst") == 0) return Section::kInst;
  if (text.compare(0, 4, "cull") == 0) return Section::kCull;
  return Section::kOther;
}

bool IsMapModel(ModelKind kind) {
  return kind == ModelKind::kSimple || kind == ModelKind::kTime;
}

void ReadInstance(const std::string& path, const GameLine& line,
                  std::string_view text, LoadedGame* game) {
  CheckFindings& findings = game->findings;
  const std::vector<std::string_view> values = GameValues(text);
  long id = 0;
  if (!GameInteger(values[0], &id)) return;
  if (values.size() != 12 && values.size() != 13) {
    findings.Add(path, line.number, CheckEffect::kMisreads,
                 "an inst line has 13 values (12 without the area), not " +
                     std::to_string(values.size()),
                 "inst-values");
  }
  if (!game->IdInModelTable(id, path, line.number)) return;
  const auto model = game->models.find(id);
  if (model == game->models.end()) {
    findings.Add(path, line.number, CheckEffect::kDropsLine,
                 "inst of model ID " + std::to_string(id) +
                     ", which no IDE file defines",
                 "inst-undefined-id");
    return;
  }
  if (!IsMapModel(model->second.kind)) {
    findings.Add(path, line.number, CheckEffect::kCrashes,
                 "inst of " + model->second.name + " (ID " +
                     std::to_string(id) +
                     "), which is not an objs or tobj "
                     "model",
                 "inst-model-kind");
    return;
  }
  const bool dummy = game->object_info_models.count(model->second.name) > 0;
  findings.Use(dummy ? Limit::kDummies : Limit::kBuildings, path, line.number);
}

}  // namespace

void CheckIplFile(const std::string& path, const std::string& bytes,
                  LoadedGame* game) {
  Section section = Section::kNone;
  for (const GameLine& line : ReadGameLines(bytes)) {
    const std::string_view text = WithoutLeadingBlanks(line.text);
    if (text.empty() || text[0] == '#') continue;
    if (line.cut) {
      game->findings.Add(path, line.number, CheckEffect::kCuts,
                         "the line past 255 characters", "line-length");
    }
    if (section == Section::kNone) {
      section = SectionOpenedBy(text);
    } else if (text.compare(0, 3, "end") == 0) {
      section = Section::kNone;
    } else if (section == Section::kInst) {
      ReadInstance(path, line, text, game);
    } else if (section == Section::kCull) {
      game->findings.Use(Limit::kCullZones, path, line.number);
    }
  }
}

}  // namespace quarn
