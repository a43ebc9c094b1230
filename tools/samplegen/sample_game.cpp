#include "tools/samplegen/sample_game.h"

#include <cctype>
#include <filesystem>

#include "tools/samplegen/col_writer.h"
#include "tools/samplegen/native_output.h"
#include "tools/samplegen/sample_ipl.h"
#include "tools/samplegen/sample_lists.h"

namespace quarn {
namespace fs = std::filesystem;
namespace {

constexpr int kMaxImgEntries = 30000;
constexpr uint64_t kMaxImgSectors = (uint64_t{1} << 31) / kImgSectorBytes - 1;
constexpr int kMaxIdeFiles = 200;
constexpr int kMaxDefinitions = 30000;

// Moving the whole name sequence keeps every name unique while another seed
// still gives other names.
int NameShift(uint64_t seed) { return static_cast<int>(seed % 50); }

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(c));
  return text;
}

// The native spelling of a path as gta_vc.dat names it: lower case, as the
// game's own folders are; the list's upper-case spelling is found because
// Windows (and the engine) look names up without regard to case.
fs::path NativeOf(const fs::path& game, const std::string& listed) {
  fs::path path = game;
  std::string component;
  for (char c : Lower(listed) + "\\") {
    if (c != '\\') {
      component += c;
      continue;
    }
    path /= component;
    component.clear();
  }
  return path;
}

// The collision models of an area: its first objects', or one of its own
// when it defines none, so that no COL file is empty.
std::vector<std::string> ColModelNames(const SampleAreaObjects& area) {
  std::vector<std::string> names;
  for (size_t i = 0; i < area.objects.size() && i < 12; ++i) {
    names.push_back(area.objects[i].model);
  }
  if (names.empty()) names.push_back(area.area.prefix + "_col");
  return names;
}

// A route file of data\paths: a comment and one point per line.
std::vector<std::string> TrackLines(int track, uint64_t seed) {
  std::vector<std::string> lines = {"; track " + std::to_string(track)};
  for (int i = 0; i < 24; ++i) {
    const int x =
        static_cast<int>((seed * 31 + track * 977 + i * 131) % 4000) - 2000;
    const int y =
        static_cast<int>((seed * 17 + track * 613 + i * 257) % 4000) - 2000;
    lines.push_back(std::to_string(x) + ".0 " + std::to_string(y) + ".0 " +
                    std::to_string(20 + i % 7 * 10) + ".0");
  }
  return lines;
}

// Writes the planned game file by file, stopping at the first failure with
// its message in `*error`.
class GameWriter {
 public:
  GameWriter(const fs::path& game, const SampleGamePlan& plan,
             std::string* error)
      : game_(game), plan_(plan), error_(error) {}

  bool Write() {
    return WriteProgram() && WriteLists() && WriteMaps() && WriteCollision() &&
           WriteArchive() && (!plan_.options.backups || WriteBackups());
  }

 private:
  bool Text(const fs::path& file, const std::vector<std::string>& lines) {
    return WriteNativeTextFile(file, lines, error_);
  }

  bool WriteProgram() {
    return WriteNativeFile(game_ / "gta-vc.exe",
                           "MZ sample game program file (a placeholder)\r\n",
                           error_);
  }

  std::vector<SampleArea> Areas() const {
    std::vector<SampleArea> areas;
    for (const SampleAreaObjects& area : plan_.areas)
      areas.push_back(area.area);
    return areas;
  }

  bool WriteLists() {
    const fs::path data = game_ / "data";
    const uint64_t seed = plan_.options.seed;
    return Text(data / "gta_vc.dat", SampleGtaVcDatLines(Areas())) &&
           Text(data / "default.dat", SampleDefaultDatLines()) &&
           Text(data / "default.ide", SampleDefaultIdeLines()) &&
           Text(data / "object.dat", SampleObjectDatLines(plan_.areas, seed)) &&
           Text(data / "map.zon", SampleZoneLines(Areas(), "map", 0)) &&
           Text(data / "navig.zon",
                SampleZoneLines(Areas(), "navigation", 1)) &&
           Text(data / "paths" / "track1.dat", TrackLines(1, seed)) &&
           Text(data / "paths" / "track2.dat", TrackLines(2, seed));
  }

  bool WriteMaps() {
    const uint64_t seed = plan_.options.seed;
    for (const SampleAreaObjects& area : plan_.areas) {
      if (!Text(NativeOf(game_, SampleListedPath(area.area, "IDE")),
                SampleAreaIdeLines(area, seed))) {
        return false;
      }
      if (area.area.name == "generic") continue;
      if (!Text(NativeOf(game_, SampleListedPath(area.area, "IPL")),
                SampleAreaIplLines(area, seed))) {
        return false;
      }
    }
    return Text(game_ / "data" / "maps" / "cull.ipl", SampleCullLines(Areas()));
  }

  bool WriteCollision() {
    const uint64_t seed = plan_.options.seed;
    std::vector<std::string> generic = ColModelNames(plan_.areas.front());
    for (const SampleAreaObjects& area : plan_.areas) {
      if (area.area.interior) {
        const std::string col = "MODELS\\COLL\\" + area.area.name + ".COL";
        if (!WriteNativeFile(NativeOf(game_, col),
                             ColFileBytes(ColModelNames(area), seed), error_)) {
          return false;
        }
      } else if (&area != &plan_.areas.front()) {
        generic.push_back(ColModelNames(area).front());
      }
    }
    return WriteNativeFile(NativeOf(game_, "MODELS\\COLL\\GENERIC.COL"),
                           ColFileBytes(generic, seed), error_);
  }

  bool WriteArchive() {
    return WriteGeneratedImg((game_ / "models").string(), plan_.img, error_);
  }

  bool Backup(const fs::path& from, const fs::path& to_folder) {
    return CopyNativeFile(from, to_folder / from.filename(), error_);
  }

  bool WriteBackups() {
    const fs::path data = game_ / "data";
    const fs::path backup = data / "backup";
    const fs::path models = game_ / "models";
    return Backup(data / "gta_vc.dat", backup) &&
           Backup(data / "object.dat", backup) &&
           Backup(data / "default.ide", backup) &&
           Backup(data / "map.zon", backup) &&
           Backup(data / "navig.zon", backup) &&
           Backup(data / "maps" / "generic.ide", backup / "maps") &&
           Backup(data / "maps" / "cull.ipl", backup / "maps") &&
           Backup(data / "paths" / "track1.dat", backup / "paths") &&
           Backup(data / "paths" / "track2.dat", backup / "paths") &&
           Backup(models / "gta3.img", models / "backup") &&
           Backup(models / "gta3.dir", models / "backup");
  }

  fs::path game_;
  const SampleGamePlan& plan_;
  std::string* error_;
};

}  // namespace

std::string CheckSampleGameOptions(const SampleGameOptions& options) {
  if (options.img_entries < 0 || options.img_entries > kMaxImgEntries) {
    return "the archive can hold 0 to 30000 entries";
  }
  if (options.img_bytes / kImgSectorBytes > kMaxImgSectors) {
    return "the archive must stay below 2 GiB";
  }
  if (static_cast<uint64_t>(options.img_entries) > kMaxImgSectors) {
    return "the archive must stay below 2 GiB";
  }
  if (options.ide_files < 1 || options.ide_files > kMaxIdeFiles) {
    return "the game needs 1 to 200 IDE files";
  }
  if (options.ide_definitions < 0 ||
      options.ide_definitions > kMaxDefinitions) {
    return "the IDE files can hold 0 to 30000 definitions";
  }
  const std::vector<SampleAreaObjects> objects =
      PlanSampleObjects(SampleAreas(options.ide_files), options.ide_definitions,
                        options.seed, NameShift(options.seed));
  if (HighestSampleObjectId(objects) > 65535) {
    return "too many definitions: object IDs would pass 65535";
  }
  return "";
}

SampleGamePlan PlanSampleGame(const SampleGameOptions& options) {
  SampleGamePlan plan;
  plan.options = options;
  plan.areas =
      PlanSampleObjects(SampleAreas(options.ide_files), options.ide_definitions,
                        options.seed, NameShift(options.seed));
  plan.img = PlanGeneratedImg(options.img_entries, options.img_bytes,
                              options.seed, NameShift(options.seed));
  return plan;
}

bool WriteSampleGame(const std::string& dir, const SampleGameOptions& options,
                     std::string* error) {
  *error = CheckSampleGameOptions(options);
  if (!error->empty()) return false;
  const SampleGamePlan plan = PlanSampleGame(options);
  const fs::path game(dir);
  return MakeNativeFolders(game, error) &&
         GameWriter(game, plan, error).Write();
}

}  // namespace quarn
