// The names of the sample game: map areas and the models they hold. Names
// are built from small word lists in a mixed radix, so that every index
// gives a different name and no list of real names is needed.
#pragma once

#include <string>
#include <vector>

namespace quarn {

/// One map area of the sample game.
struct SampleArea {
  std::string name;       ///< lower case, at most 8 letters, e.g. "harbour"
  std::string prefix;     ///< what its model names begin with, e.g. "hb"
  bool interior = false;  ///< listed among the interiors of gta_vc.dat
};

/// The first `count` areas, in the order gta_vc.dat lists them. The first
/// is always "generic", whose files lie directly in data\maps; about the
/// last fifth (from five areas on) are interiors. Names and prefixes are
/// unique, and no prefix is "sm" (kept for the sample mod).
std::vector<SampleArea> SampleAreas(int count);

/// The model name number `index` of the area with `prefix`: prefix, "_",
/// a word and at least two digits; at most 18 characters for indices
/// below 32,000. Different (prefix, index) pairs give different names.
std::string SampleModelName(const std::string& prefix, int index);

/// The name of archive entry `index` (".dff", every fifth ".txd"), at most
/// 23 characters, unique per index; `shift` (from the seed) moves the
/// whole sequence. Entries share their base names with the area models.
std::string SampleArchiveName(int index, int shift);

}  // namespace quarn
