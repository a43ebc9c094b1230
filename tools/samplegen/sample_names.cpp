#include "tools/samplegen/sample_names.h"

#include <cstdio>
#include <iterator>

namespace quarn {
namespace {

struct AreaName {
  const char* name;
  const char* prefix;
};

constexpr AreaName kOutdoorAreas[] = {
    {"generic", "gn"},  {"harbour", "hb"},  {"uptown", "up"},
    {"midtown", "mt"},  {"beachfr", "bf"},  {"airfield", "af"},
    {"wharf", "wf"},    {"hillside", "hs"}, {"marina", "ma"},
    {"oldtown", "ot"},  {"industry", "in"}, {"parkland", "pk"},
    {"riverbnk", "rb"}, {"station", "st"},  {"canals", "cn"},
    {"suburbs", "sb"},  {"quarry", "qy"},   {"lagoon", "lg"},
    {"boardwlk", "bw"}, {"golfclub", "gc"},
};
constexpr AreaName kInteriors[] = {
    {"museum", "mu"},  {"arena", "ar"},   {"theatre", "th"}, {"casino", "cs"},
    {"offices", "of"}, {"penthse", "ph"}, {"mansion", "mn"}, {"studio", "sd"},
};

// The area number `index` of `names`, or a numbered one past their end.
SampleArea NamedArea(const AreaName* names, int known, int index,
                     const char* fallback, const char* fallback_prefix) {
  SampleArea area;
  if (index < known) {
    area.name = names[index].name;
    area.prefix = names[index].prefix;
  } else {
    area.name = fallback + std::to_string(index);
    area.prefix = fallback_prefix + std::to_string(index);
  }
  return area;
}

constexpr const char* kWords[] = {
    "wall",   "roof",   "tower",  "crate", "fence",  "lamp",  "bench", "sign",
    "stairs", "shed",   "kiosk",  "pier",  "rail",   "hedge", "palm",  "awning",
    "board",  "door",   "window", "gate",  "pillar", "block", "house", "shop",
    "garage", "bridge", "tunnel", "ramp",  "hut",    "mast",  "tank",  "dome"};
constexpr int kWordCount = sizeof(kWords) / sizeof(kWords[0]);

// Archive names cycle through this many areas, whatever the game's size.
constexpr int kArchiveAreas = 16;

}  // namespace

std::vector<SampleArea> SampleAreas(int count) {
  const int interiors = count >= 5 ? count / 5 : 0;
  const int outdoors = count - interiors;
  std::vector<SampleArea> areas;
  for (int i = 0; i < outdoors; ++i) {
    areas.push_back(
        NamedArea(kOutdoorAreas, std::size(kOutdoorAreas), i, "area", "a"));
  }
  for (int i = 0; i < interiors; ++i) {
    areas.push_back(
        NamedArea(kInteriors, std::size(kInteriors), i, "inside", "i"));
    areas.back().interior = true;
  }
  return areas;
}

std::string SampleModelName(const std::string& prefix, int index) {
  char number[16];
  std::snprintf(number, sizeof(number), "%02d", index / kWordCount);
  return prefix + "_" + kWords[index % kWordCount] + number;
}

std::string SampleArchiveName(int index, int shift) {
  const SampleArea area = SampleAreas(kArchiveAreas)[index % kArchiveAreas];
  const std::string base =
      SampleModelName(area.prefix, index / kArchiveAreas + shift);
  return base + (index % 5 == 4 ? ".txd" : ".dff");
}

}  // namespace quarn
