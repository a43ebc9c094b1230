// What the item-definition commands keep from their first use to the end
// of the run.
#pragma once

#include "ide/ide_editor.h"
#include "ide/object_id_registry.h"
#include "ide/scanned_ide_list.h"

namespace quarn {

/// The object IDs in use, the IDE files read so far and the IDE file being
/// edited.
struct IdeState {
  ObjectIdRegistry ObjectIds;
  quarn::ScannedIdeList ScannedIdeList;  ///< IDE files read so far
  bool IdeScanDone = false;  ///< the game's IDE files were all scanned
  IdeEditor Ide;             ///< the IDE file being edited
};

}  // namespace quarn
