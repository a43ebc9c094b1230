#include "tools/samplegen/sample_lists.h"

#include <cstdio>

#include "text/ascii.h"
#include "tools/samplegen/sample_random.h"

namespace quarn {
namespace {

bool IsGeneric(const SampleArea& area) { return area.name == "generic"; }

void AppendFileLines(const std::vector<SampleArea>& areas, bool interior,
                     const std::string& kind, std::vector<std::string>* lines) {
  for (const SampleArea& area : areas) {
    if (area.interior != interior) continue;
    if (kind == "IPL" && IsGeneric(area)) continue;
    lines->push_back(kind + " " + SampleListedPath(area, kind));
  }
}

std::string Property(SampleRandom& random, int low, int high) {
  char text[24];
  std::snprintf(text, sizeof(text), "%d.0", random.Between(low, high));
  return text;
}

}  // namespace

std::string SampleListedPath(const SampleArea& area,
                             const std::string& extension) {
  if (IsGeneric(area)) return "DATA\\MAPS\\" + area.name + "." + extension;
  return "DATA\\MAPS\\" + area.name + "\\" + area.name + "." + extension;
}

std::vector<std::string> SampleColFiles(const std::vector<SampleArea>& areas) {
  std::vector<std::string> files = {"MODELS\\COLL\\GENERIC.COL"};
  for (const SampleArea& area : areas) {
    if (area.interior)
      files.push_back("MODELS\\COLL\\" + ToUpperAscii(area.name) + ".COL");
  }
  return files;
}

std::vector<std::string> SampleGtaVcDatLines(
    const std::vector<SampleArea>& areas) {
  std::vector<std::string> lines = {
      "#",
      "# Everything the sample game loads: item definitions first, then",
      "# collision, zones and the placement of the scene",
      "#",
      "",
      "# each area keeps its files in its own folder below DATA\\MAPS",
      "",
      "#",
      "# Object types",
      "#"};
  AppendFileLines(areas, false, "IDE", &lines);
  lines.insert(lines.end(), {"", "", "SPLASH loadscr1", ""});
  AppendFileLines(areas, true, "IDE", &lines);
  lines.insert(lines.end(), {"", "#collision data"});
  for (const std::string& col : SampleColFiles(areas)) {
    lines.push_back("COLFILE 0 " + col);
  }
  lines.insert(lines.end(), {"", "", "# zones come before any placement file",
                             "IPL DATA\\MAP.ZON", "IPL DATA\\NAVIG.ZON", "",
                             "#", "# Scene information", "#"});
  AppendFileLines(areas, false, "IPL", &lines);
  lines.insert(lines.end(),
               {"", "SPLASH loadscr2", "", "IPL DATA\\MAPS\\cull.ipl", "", "#",
                "#  Interiors", "#", "SPLASH loadscr3", ""});
  AppendFileLines(areas, true, "IPL", &lines);
  return lines;
}

std::vector<std::string> SampleDefaultDatLines() {
  return {"#", "# What the game loads before gta_vc.dat", "#", "",
          "IDE DATA\\DEFAULT.IDE"};
}

std::vector<std::string> SampleObjectDatLines(
    const std::vector<SampleAreaObjects>& plan, uint64_t seed) {
  SampleRandom random(seed * 2654435761u + 5);
  std::vector<std::string> lines = {
      ";",
      "; Object properties of the sample game",
      ";",
      "; (A) Object name\t\t[at most 256 characters]",
      "; (B) Mass\t\t\t[kilograms]",
      "; (C) Turn mass",
      "; (D) Air resistance\t[0 to 1]",
      "; (E) Elasticity\t\t[0 to 1]",
      "; (F) Percent submerged",
      "; (G) Uproot limit",
      "; (H) Damage multiplier",
      "; (I) Damage effect\t\t0:none 1:change 2:split 20:smash",
      "; (J) Special response",
      "; (K) Camera avoids",
      ";",
      ";(A)\t\t\t(B)\t\t(C)\t(D)\t\t(E)\t\t(F)\t\t(G)\t(H)\t(I)\t(J)\t(K)"};
  for (const SampleAreaObjects& area : plan) {
    for (size_t i = 0; i < area.objects.size() && i < 3; ++i) {
      lines.push_back(
          area.objects[i].model + ",\t\t" + Property(random, 10, 5000) +
          ",\t\t" + Property(random, 100, 20000) + "\t0.99,\t\t0.05,\t\t" +
          Property(random, 10, 120) + ",\t\t" + Property(random, 0, 400) +
          ",\t1.0,\t" + std::to_string(random.Between(0, 2)) + ",\t1,\t0");
    }
  }
  lines.insert(lines.end(), {"", "* ;end of file"});
  return lines;
}

}  // namespace quarn
