#include "gamelists/gta_vc_dat_list.h"

#include "text/ascii.h"
#include "text/lines.h"

namespace quarn {
namespace {

bool EndsWithZone(const std::string& upper) {
  return upper.size() >= 4 && upper.compare(upper.size() - 4, 4, ".ZON") == 0;
}

void Append(const std::vector<std::string>& entries,
            std::vector<std::string>* lines) {
  for (const std::string& entry : entries) {
    if (!entry.empty()) lines->push_back(entry);
  }
}

std::string SplashOrRemoved(const std::string& slot) {
  return slot.empty() ? "# splash removed" : slot;
}

}  // namespace

GtaVcDatClass ClassOfGtaVcDatLine(const std::string& line) {
  const std::string upper = ToUpperAscii(line);
  if (upper.compare(0, 4, "IDE ") == 0) return GtaVcDatClass::kIde;
  if (upper.compare(0, 8, "COLFILE ") == 0) return GtaVcDatClass::kColFile;
  if (upper.compare(0, 4, "IPL ") == 0) {
    return EndsWithZone(upper) ? GtaVcDatClass::kZone : GtaVcDatClass::kIpl;
  }
  if (upper.compare(0, 7, "SPLASH ") == 0) return GtaVcDatClass::kSplash;
  return GtaVcDatClass::kUnknown;
}

std::vector<std::string>* ListOfClass(GtaVcDatList& list, GtaVcDatClass kind) {
  switch (kind) {
    case GtaVcDatClass::kIde:
      return &list.Ide;
    case GtaVcDatClass::kColFile:
      return &list.ColFiles;
    case GtaVcDatClass::kZone:
      return &list.Zones;
    case GtaVcDatClass::kIpl:
      return &list.Ipl;
    case GtaVcDatClass::kSplash:
    case GtaVcDatClass::kUnknown:
      break;
  }
  return nullptr;
}

std::string TooManyGtaVcDatLines(GtaVcDatClass kind) {
  const char* name = kind == GtaVcDatClass::kIde       ? "IDE"
                     : kind == GtaVcDatClass::kColFile ? "COLFILE"
                     : kind == GtaVcDatClass::kZone    ? "zone"
                                                       : "IPL";
  return std::string("ERROR: Too many ") + name +
         " lines for 'gta_vc.dat' (at most " +
         std::to_string(kGtaVcDatListCapacity) + ")";
}

std::string FillGtaVcDatList(const std::vector<std::string>& lines,
                             GtaVcDatList* list) {
  size_t splash_lines = 0;
  for (const std::string& line : lines) {
    if (line.empty() || line[0] == '#') continue;
    const GtaVcDatClass kind = ClassOfGtaVcDatLine(line);
    if (kind == GtaVcDatClass::kSplash) {
      if (splash_lines == kSplashSlotCount) {
        return "ERROR: Expected max 3 SPLASH instructions";
      }
      list->SplashSlots[splash_lines++] = CutTo(line, kSplashSlotCapacity);
      continue;
    }
    std::vector<std::string>* entries = ListOfClass(*list, kind);
    if (entries == nullptr) {
      return "ERROR: Unsupported entry in the 'gta_vc.dat': " + line;
    }
    if (entries->size() == kGtaVcDatListCapacity) {
      return TooManyGtaVcDatLines(kind);
    }
    entries->push_back(CutTo(line, kGtaVcDatEntryCapacity));
  }
  return "";
}

std::string GtaVcDatLayout(const GtaVcDatList& list) {
  std::vector<std::string> lines = {
      "#",
      "# Load IDEs first, then the models and after that the IPLs",
      "#",
      " ",
      "# everything is loaded on a per directory basis and in alphabetical "
      "order",
      "# to improve the speed of loading",
      " ",
      "#",
      "# Object types",
      "#"};
  Append(list.Ide, &lines);
  lines.insert(lines.end(), {" ", SplashOrRemoved(list.SplashSlots[0]), " ",
                             "#collision data"});
  Append(list.ColFiles, &lines);
  lines.insert(lines.end(),
               {" ", "# have to load map.zon before any of the IPLs"});
  Append(list.Zones, &lines);
  lines.insert(lines.end(), {" ", "#", "# Scene information", "#", " ",
                             SplashOrRemoved(list.SplashSlots[1]), " "});
  Append(list.Ipl, &lines);
  lines.insert(lines.end(), {" ", "#", "#  Interiors", "#",
                             SplashOrRemoved(list.SplashSlots[2])});
  return JoinLinesCrLf(lines);
}

}  // namespace quarn
