#include "tools/samplegen/sample_ide.h"

#include <cctype>
#include <cstdio>

#include "tools/samplegen/sample_random.h"
#include "tools/samplegen/section_text.h"

namespace quarn {
namespace {

std::string Decimal(double value) {
  char text[32];
  std::snprintf(text, sizeof(text), "%.4g", value);
  return text;
}

std::vector<std::string> DefaultHeader() {
  return {"#",
          "# Object IDs of the sample game",
          "# peds:\t\t1-49",
          "# vehicles:\t130-179",
          "# wheels:\t225-236",
          "# tools:\t258-279",
          "# cutscene objects: 295-299",
          "#"};
}

TextSection DefaultPeds() {
  TextSection peds{"peds", {"# walkers"}};
  const char* kinds[] = {"CIVMALE", "CIVFEMALE", "COP", "GANG1"};
  for (int id = 1; id < 50; ++id) {
    char name[16];
    std::snprintf(name, sizeof(name), "walker%02d", id);
    const int kind = id % 4;
    peds.lines.push_back(std::to_string(id) + ", " + name + ", " + name + ", " +
                         kinds[kind] + ", STAT_STREET, " +
                         (kind == 1 ? "woman" : "man") + ", 0, null, 9,9");
  }
  return peds;
}

TextSection DefaultCars() {
  TextSection cars{"cars",
                   {"# Id,\tModel,\tTxd,\tType,\tHandling,\tName,\tAnims,\t"
                    "Class,\tFrq,\tLvl,\tRules,\tWheel,\tScale"}};
  const char* classes[] = {"normal", "poorfamily", "executive", "worker"};
  for (int id = 130; id < 180; ++id) {
    char name[16];
    std::snprintf(name, sizeof(name), "auto%02d", id - 129);
    std::string upper = name;
    for (char& c : upper) c = static_cast<char>(std::toupper(c));
    cars.lines.push_back(
        std::to_string(id) + ",\t" + name + ", \t" + name + ", \tcar, \t" +
        upper + ", \t" + upper + ", \t\tnull,\t" + classes[id % 4] +
        ", \t10,\t7,\t0,\t\t" + std::to_string(225 + id % 12) + ", 0.7");
  }
  return cars;
}

TextSection DefaultObjs() {
  TextSection objs{"objs", {"# wheels"}};
  for (int id = 225; id < 237; ++id) {
    char name[24];
    std::snprintf(name, sizeof(name), "wheel_type%02d", id - 224);
    objs.lines.push_back(std::to_string(id) + ", " + name +
                         ", generic, 2, 20, 70, 0");
  }
  return objs;
}

TextSection DefaultWeap() {
  TextSection weap{"weap", {"# hand tools"}};
  for (int id = 258; id < 280; ++id) {
    char name[16];
    std::snprintf(name, sizeof(name), "tool%02d", id - 257);
    weap.lines.push_back(std::to_string(id) + ", " + name + ", " + name +
                         ", null, 1, 50, 0");
  }
  return weap;
}

TextSection DefaultHier() {
  TextSection hier{"hier", {}};
  for (int id = 295; id < 300; ++id) {
    char name[16];
    std::snprintf(name, sizeof(name), "cutprop%02d", id - 294);
    hier.lines.push_back(std::to_string(id) + ", " + name + ", generic");
  }
  return hier;
}

}  // namespace

std::vector<SampleAreaObjects> PlanSampleObjects(
    const std::vector<SampleArea>& areas, int total, uint64_t seed, int shift) {
  SampleRandom random(seed * 7919 + 17);
  std::vector<SampleAreaObjects> plan;
  const int count = static_cast<int>(areas.size());
  int next_id = kFirstMapObjectId;
  for (int a = 0; a < count; ++a) {
    SampleAreaObjects area{areas[a], {}};
    const int share = total / count + (a < total % count ? 1 : 0);
    for (int j = 0; j < share; ++j) {
      SampleObject object;
      object.id = next_id;
      object.model = SampleModelName(area.area.prefix, j + shift);
      object.txd = area.area.name + std::to_string(j / 12 % 6);
      object.timed = random.Between(0, 9) == 0;
      area.objects.push_back(object);
      next_id += 1 + (random.Between(0, 11) == 0 ? random.Between(1, 20) : 0);
    }
    plan.push_back(area);
  }
  return plan;
}

int HighestSampleObjectId(const std::vector<SampleAreaObjects>& plan) {
  int highest = kFirstMapObjectId - 1;
  for (const SampleAreaObjects& area : plan) {
    for (const SampleObject& object : area.objects) {
      if (object.id > highest) highest = object.id;
    }
  }
  return highest;
}

std::string SampleObjectLine(const SampleObject& object, int distance,
                             int flags) {
  std::string line = std::to_string(object.id) + ", " + object.model + ", " +
                     object.txd + ", 1, " + std::to_string(distance) + ", " +
                     std::to_string(flags);
  if (object.timed) line += object.id % 2 ? ", 20, 6" : ", 6, 20";
  return line;
}

std::vector<std::string> SampleAreaIdeLines(const SampleAreaObjects& area,
                                            uint64_t seed) {
  SampleRandom random(seed * 104729 + area.objects.size() * 31 +
                      area.area.prefix[0]);
  TextSection objs{"objs", {}};
  TextSection tobj{"tobj", {}};
  TextSection path{"path", {}};
  TextSection effects{"2dfx", {}};
  const int flag_choices[] = {0, 0, 0, 4, 4, 128};
  for (size_t i = 0; i < area.objects.size(); ++i) {
    const SampleObject& object = area.objects[i];
    const std::string line = SampleObjectLine(
        object, random.Between(30, 299), flag_choices[random.Between(0, 5)]);
    (object.timed ? tobj : objs).lines.push_back(line);
    if (i % 8 == 3) {
      effects.lines.push_back(
          std::to_string(object.id) + ", " +
          Decimal(random.Between(-5000, 5000) / 100.0) + ", " +
          Decimal(random.Between(-5000, 5000) / 100.0) + ", " +
          Decimal(random.Between(0, 900) / 100.0) +
          ", 255, 255, 255, 200, 0, \"lightglow\", \"shadowfx\", 100, 0, 1, "
          "0, 40, 1, 0, 0, 0");
    }
  }
  return SectionFileLines({"# " + area.area.name + " object definitions"},
                          {objs, tobj, path, effects});
}

std::vector<std::string> SampleDefaultIdeLines() {
  std::vector<std::string> lines =
      SectionFileLines(DefaultHeader(),
                       {DefaultPeds(), DefaultCars(), DefaultObjs(),
                        DefaultWeap(), DefaultHier()},
                       true);
  return lines;
}

}  // namespace quarn
