#include "tools/samplegen/sample_names.h"

#include <cstdio>

namespace quarn {
namespace {

struct AreaName {
  const char* name;
  const char* prefix;
};

constexpr AreaName kAreas[] = {
    {"generic", "gn"},  {"harbour", "hb"},  {"uptown", "up"},
    {"midtown", "mt"},  {"beachfr", "bf"},  {"airfield", "af"},
    {"wharf", "wf"},    {"hillside", "hs"}, {"marina", "ma"},
    {"oldtown", "ot"},  {"industry", "in"}, {"parkland", "pk"},
    {"riverbnk", "rb"}, {"station", "st"},  {"canals", "cn"},
    {"suburbs", "sb"},  {"quarry", "qy"},   {"lagoon", "lg"},
    {"boardwlk", "bw"}, {"offices", "of"},  {"casino", "cs"},
    {"museum", "mu"},   {"arena", "ar"},    {"theatre", "th"},
};
constexpr int kNamedAreas = sizeof(kAreas) / sizeof(kAreas[0]);

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
  std::vector<SampleArea> areas;
  const int interiors = count >= 5 ? count / 5 : 0;
  for (int i = 0; i < count; ++i) {
    SampleArea area;
    if (i < kNamedAreas) {
      area.name = kAreas[i].name;
      area.prefix = kAreas[i].prefix;
    } else {
      area.name = "area" + std::to_string(i);
      area.prefix = "a" + std::to_string(i);
    }
    area.interior = i >= count - interiors;
    areas.push_back(area);
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
