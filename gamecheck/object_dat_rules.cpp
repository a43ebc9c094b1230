#include "gamecheck/object_dat_rules.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <set>
#include <string_view>
#include <vector>

#include "gamecheck/game_lines.h"
#include "text/ascii.h"
#include "text/numbers.h"

namespace quarn {
namespace {

using Properties = std::array<double, kObjectDatValues - 1>;

bool IsEntry(std::string_view text) { return !text.empty() && text[0] != ';'; }

Properties PropertiesOf(const std::vector<std::string_view>& values) {
  Properties properties{};
  for (size_t i = 1; i < kObjectDatValues && i < values.size(); ++i) {
    properties[i - 1] = std::strtod(std::string(values[i]).c_str(), nullptr);
  }
  return properties;
}

void ReportDroppedEntries(const std::string& path, const std::string& bytes,
                          size_t star, LoadedGame* game) {
  const size_t star_line = static_cast<size_t>(
      std::count(bytes.begin(), bytes.begin() + star, '\n') + 1);
  // What stands after the "*" on its own line is no entry either way.
  const size_t next_line = bytes.find('\n', star);
  if (next_line == std::string::npos) return;
  size_t dropped = 0;
  for (const GameLine& line : ReadGameLines(bytes.substr(next_line + 1))) {
    const std::string_view text = WithoutLeadingBlanks(line.text);
    if (IsEntry(text) && text[0] != '*') ++dropped;
  }
  if (dropped == 0) return;
  game->findings.Add(path, star_line, CheckEffect::kDropsLine,
                     "the first * ends the file; " + FormatGrouped(dropped) +
                         (dropped == 1 ? " entry" : " entries") + " after it",
                     "object-dat-end");
}

}  // namespace

void CheckObjectDat(const std::string& path, const std::string& bytes,
                    LoadedGame* game) {
  CheckFindings& findings = game->findings;
  findings.Reach(Limit::kObjectDatBytes, static_cast<int64_t>(bytes.size()),
                 path, 0);
  if (findings.UseOf(Limit::kObjectDatBytes) >
      findings.limits.Of(Limit::kObjectDatBytes)) {
    return;
  }
  const size_t star = bytes.find('*');
  if (star != std::string::npos) ReportDroppedEntries(path, bytes, star, game);
  std::set<Properties> slots;
  for (const GameLine& line : ReadGameLines(bytes.substr(0, star))) {
    const std::string_view text = WithoutLeadingBlanks(line.text);
    if (!IsEntry(text)) continue;
    const std::vector<std::string_view> values = GameValues(text);
    if (values.size() < kObjectDatValues) {
      findings.Add(
          path, line.number, CheckEffect::kMisreads,
          "an entry has 11 values, not " + std::to_string(values.size()),
          "object-dat-values");
    }
    game->object_info_models.insert(ToLowerAscii(std::string(values[0])));
    if (slots.insert(PropertiesOf(values)).second) {
      findings.Use(Limit::kObjectInfo, path, line.number);
    }
  }
}

}  // namespace quarn
