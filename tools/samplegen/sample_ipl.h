// The placement files of the sample game: where the areas' objects stand,
// the zones, and the culling boxes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/samplegen/sample_ide.h"

namespace quarn {

/// The lines of an area's IPL file: "inst" with one or two placements of
/// its first objects (at most 60), then the empty "cull" and "path"
/// sections the game's map files carry.
std::vector<std::string> SampleAreaIplLines(const SampleAreaObjects& area,
                                            uint64_t seed);

/// The lines of a zone file: the comment `title`, then a "zone" section
/// with one box of zone type `type` per area.
std::vector<std::string> SampleZoneLines(const std::vector<SampleArea>& areas,
                                         const std::string& title, int type);

/// The lines of data\maps\cull.ipl: empty "inst", a "cull" section with
/// one box per area, empty "pick" and "path".
std::vector<std::string> SampleCullLines(const std::vector<SampleArea>& areas);

}  // namespace quarn
