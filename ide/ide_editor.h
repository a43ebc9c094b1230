// The item-definition file a script edits, held in memory from IDE OPEN to
// IDE CLOSE, across the scripts of every mod of a run.
#pragma once

#include <cstddef>

#include "editing/section_file.h"

namespace quarn {

/// The most lines each of the eight sections holds, deleted ones included.
inline constexpr size_t kIdeSectionLimit = 1895;

/// One list per IDE section in IdeSection order, plus the layout to write.
struct IdeEditor : EditedSectionFile {
  /// Closed and empty.
  IdeEditor();

  /// The opened file had a "peds" header: it is written back in the layout
  /// of the game's default definitions (peds, cars, objs, weap, hier)
  /// rather than that of the map files (objs, tobj, path, 2dfx).
  bool HasPedsSection = false;
};

}  // namespace quarn
