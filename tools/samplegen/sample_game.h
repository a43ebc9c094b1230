// A realistic, deterministic game folder for the demo, the tests and the
// benchmarks: the program file, the list files, IDE, IPL and COL files,
// the model archive and the backup folders.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/samplegen/img_writer.h"
#include "tools/samplegen/sample_ide.h"

namespace quarn {

/// What to generate. The defaults make a small game that is quick to write.
struct SampleGameOptions {
  int img_entries = 48;             ///< entries of models\gta3.img (0-30,000)
  uint64_t img_bytes = 384 * 1024;  ///< archive size, rounded down to sectors
  int ide_files = 5;                ///< map IDE files named in gta_vc.dat
  int ide_definitions = 150;        ///< ID-claiming lines in those files
  uint64_t seed = 1;                ///< varies names, sizes, IDs, positions
  bool backups = true;              ///< write data\backup and models\backup
};

/// Everything the generator decides before it writes a byte.
struct SampleGamePlan {
  SampleGameOptions options;             ///< what the plan was made for
  std::vector<SampleAreaObjects> areas;  ///< areas[0] is "generic"
  std::vector<GeneratedImgEntry> img;    ///< archive entries in order
};

/// Empty when `options` can be generated, else what is wrong with them
/// (limits: entries 0 to 30,000, each at least one sector, archive below
/// 2 GiB, 1 to 200 IDE files, definitions 0 to 30,000 with IDs below 65,536).
std::string CheckSampleGameOptions(const SampleGameOptions& options);

/// The plan for `options` (which must pass CheckSampleGameOptions). The
/// same options always give the same plan.
SampleGamePlan PlanSampleGame(const SampleGameOptions& options);

/// Writes the sample game into the native folder `dir` (created if
/// missing; files already there are replaced):
/// - "gta-vc.exe", a small placeholder;
/// - data\gta_vc.dat, data\default.dat, data\default.ide, data\object.dat,
/// data\map.zon,
///   data\navig.zon;
/// - data\maps\generic.ide, data\maps\cull.ipl, and per area
///   data\maps\AREA\AREA.ide and AREA.ipl; data\paths\track1.dat and
///   track2.dat;
/// - models\coll\*.col of "COLL" chunks for the listed COL files;
/// - models\gta3.img and models\gta3.dir;
/// - with `backups`: copies of every file directly in data in
///   data\backup, of the files directly in data\maps in data\backup\maps,
///   of data\paths in data\backup\paths, and of the archive and its
///   directory in models\backup.
/// Every text file ends its lines with CR LF. Object IDs are unique across
/// all IDE files. False with `*error` set on bad options or a write error.
bool WriteSampleGame(const std::string& dir, const SampleGameOptions& options,
                     std::string* error);

}  // namespace quarn
