#include "tools/samplegen/sample_ipl.h"

#include <algorithm>
#include <cstdio>

#include "text/ascii.h"
#include "tools/samplegen/sample_random.h"
#include "tools/samplegen/section_text.h"

namespace quarn {
namespace {

std::string Coordinate(SampleRandom& random, int low, int high) {
  char text[32];
  std::snprintf(text, sizeof(text), "%.6g",
                random.Between(low * 100, high * 100) / 100.0);
  return text;
}

std::string Box(int index, int height) {
  const int x = -1800 + (index % 6) * 600;
  const int y = -1800 + (index / 6 % 6) * 600;
  return std::to_string(x) + ", " + std::to_string(y) + ", -50, " +
         std::to_string(x + 600) + ", " + std::to_string(y + 600) + ", " +
         std::to_string(height);
}

}  // namespace

std::vector<std::string> SampleAreaIplLines(const SampleAreaObjects& area,
                                            uint64_t seed) {
  SampleRandom random(seed * 15485863 + area.objects.size() * 7 +
                      area.area.prefix[0]);
  TextSection inst{"inst", {}};
  const size_t placed = std::min<size_t>(area.objects.size(), 60);
  for (size_t i = 0; i < placed; ++i) {
    const SampleObject& object = area.objects[i];
    const int copies = random.Between(1, 2);
    for (int copy = 0; copy < copies; ++copy) {
      const bool turned = random.Between(0, 2) == 0;
      inst.lines.push_back(std::to_string(object.id) + ", " + object.model +
                           ", " + (area.area.interior ? "1" : "0") + ", " +
                           Coordinate(random, -2000, 2000) + ", " +
                           Coordinate(random, -2000, 2000) + ", " +
                           Coordinate(random, 0, 60) + ", 1, 1, 1, 0, 0, " +
                           (turned ? "0.707107, 0.707107" : "0, 1"));
    }
  }
  return SectionFileLines({}, {inst, {"cull", {}}, {"path", {}}});
}

std::vector<std::string> SampleZoneLines(const std::vector<SampleArea>& areas,
                                         const std::string& title, int type) {
  TextSection zone{"zone", {}};
  for (size_t i = 0; i < areas.size(); ++i) {
    zone.lines.push_back(ToUpperAscii(areas[i].name) + ", " +
                         std::to_string(type) + ", " +
                         Box(static_cast<int>(i), 300) + ", 1");
  }
  return SectionFileLines({"# " + title}, {zone});
}

std::vector<std::string> SampleCullLines(const std::vector<SampleArea>& areas) {
  TextSection cull{"cull", {}};
  for (size_t i = 0; i < areas.size(); ++i) {
    cull.lines.push_back("0, 0, 0, " + Box(static_cast<int>(i), 120) + ", " +
                         std::to_string(areas[i].interior ? 4 : 0) + ", 0");
  }
  return SectionFileLines({"# culling boxes"},
                          {{"inst", {}}, cull, {"pick", {}}, {"path", {}}});
}

}  // namespace quarn
