// Which copy of an archive entry the game loads: of two records with one
// name (in any letter case) the first. A change to the directory that
// deletes or moves the first record (IMG DELDUP keeps the last) makes the
// game load another copy.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gamecheck/check_findings.h"
#include "platform/file_system.h"

namespace quarn {

/// Opens a file for reading as one side of a comparison sees it; null when
/// it cannot.
using FileOpener = std::function<std::unique_ptr<File>(const std::string&)>;

/// The names of which the game in `game` loads another copy as `after`
/// opens its files than as `before` does: a name of several records in `before`
/// whose first record in `after` holds the bytes of one of its later copies
/// there, not those of its first (compared by place and size when an
/// archive cannot be read). One problem per name, at the record now loaded,
/// in directory order. A copy of new bytes is the mod's own, not another.
std::vector<CheckProblem> ChangedLoadedCopies(const FileOpener& before,
                                              const FileOpener& after,
                                              const std::string& game);

}  // namespace quarn
