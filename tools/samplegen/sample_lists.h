// The game's two list files, data\gta_vc.dat and data\object.dat, as the
// sample game writes them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/samplegen/sample_ide.h"

namespace quarn {

/// The lines of data\default.dat, which the game reads before gta_vc.dat:
/// comments and the line naming data\default.ide.
std::vector<std::string> SampleDefaultDatLines();

/// How gta_vc.dat names an area's file of kind `extension` ("IDE", "IPL"):
/// "DATA\MAPS\" + area + "\" + area + "." + extension; generic's files lie
/// directly in DATA\MAPS. The files on disk are lower case, as in the game.
std::string SampleListedPath(const SampleArea& area,
                             const std::string& extension);

/// The COL files gta_vc.dat names, as "MODELS\COLL\NAME.COL": GENERIC.COL
/// and one per interior area.
std::vector<std::string> SampleColFiles(const std::vector<SampleArea>& areas);

/// The lines of data\gta_vc.dat in the game's order: comments, the IDE
/// lines of the outdoor areas, the first SPLASH, the interiors' IDE lines,
/// the COLFILE lines, the two zone files, the outdoor IPL lines, the second
/// SPLASH, cull.ipl, then the interiors under the third SPLASH. Blank lines
/// separate the groups.
std::vector<std::string> SampleGtaVcDatLines(
    const std::vector<SampleArea>& areas);

/// The lines of data\object.dat: a comment block of ";" lines, one line of
/// tab-separated properties for the first three objects of every area, an
/// empty line and "* ;end of file".
std::vector<std::string> SampleObjectDatLines(
    const std::vector<SampleAreaObjects>& plan, uint64_t seed);

}  // namespace quarn
