// The item-placement file a script edits or makes, held in memory from IPL
// OPEN or IPL CREATE to IPL CLOSE, across the scripts of every mod of a run.
#pragma once

#include <string>
#include <vector>

#include "editing/section_file.h"

namespace quarn {

/// The placement sections in the order their lists are kept and searched.
enum class IplSection { kInst, kCull, kPath, kPick };

/// The sections' keywords in lower case, in IplSection order.
const std::vector<std::string>& IplSectionKeywords();

/// The most lines each section holds, deleted ones included, in IplSection
/// order: 19,997 inst, 4,997 cull, 29,997 path, 1,895 pick.
const std::vector<size_t>& IplSectionLimits();

/// One list per placement section, in IplSection order.
struct IplEditor : EditedSectionFile {
  /// Closed and empty.
  IplEditor() : EditedSectionFile(IplSectionLimits()) {}
};

}  // namespace quarn
