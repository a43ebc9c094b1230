// The item definitions of the sample game: which objects each map area
// defines, with which IDs, and the IDE files that list them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/samplegen/sample_names.h"

namespace quarn {

/// IDs below this belong to data\default.ide; the map areas use the rest.
constexpr int kFirstMapObjectId = 300;

/// One object a map area defines.
struct SampleObject {
  int id = 0;
  std::string model;   ///< its model name (the archive holds model + ".dff")
  std::string txd;     ///< its texture dictionary
  bool timed = false;  ///< a "tobj" (shown at some hours) rather than "objs"
};

/// A map area with the objects its IDE file defines.
struct SampleAreaObjects {
  SampleArea area;
  std::vector<SampleObject> objects;
};

/// Spreads `total` objects over `areas` as evenly as possible. IDs ascend
/// from kFirstMapObjectId through the areas in order, with small gaps, so
/// every ID is used once; about one object in ten is timed. `shift` moves
/// the model names as SampleArchiveName does.
std::vector<SampleAreaObjects> PlanSampleObjects(
    const std::vector<SampleArea>& areas, int total, uint64_t seed, int shift);

/// The highest ID of `plan`, or kFirstMapObjectId - 1 when it is empty.
int HighestSampleObjectId(const std::vector<SampleAreaObjects>& plan);

/// The lines of an area's IDE file: a comment, then the sections "objs",
/// "tobj", "path" (empty, as map areas have it) and "2dfx" (lights on some
/// objects; these lines repeat IDs but claim none).
std::vector<std::string> SampleAreaIdeLines(const SampleAreaObjects& area,
                                            uint64_t seed);

/// The lines of data\default.ide: comment blocks (with tabs), then "peds",
/// "cars", "objs", "weap" and "hier", all IDs below kFirstMapObjectId.
std::vector<std::string> SampleDefaultIdeLines();

/// One IDE definition line in the style of the map files:
/// "id, model, txd, 1, distance, flags" (timed objects add two hours).
std::string SampleObjectLine(const SampleObject& object, int distance,
                             int flags);

}  // namespace quarn
