// "ID dump.txt": the object IDs a run ended with, as compact ranges.
#pragma once

#include <string>

#include "ide/object_id_registry.h"
#include "run/install_context.h"

namespace quarn {

/// The list text of the used IDs: runs of three or more as "a - b", shorter
/// runs as single IDs, items separated by ", ", a line break after an item
/// that takes the current line past 80 characters.
std::string ObjectIdListText(const ObjectIdRegistry& ids);

/// Writes InstallerDir + "ID dump.txt" and logs the step.
void WriteObjectIdDump(InstallContext& ctx);

}  // namespace quarn
