// The entries a mod added, changed and deleted in the game files whose
// content the report looks into: the archive's directory, the two list
// files, item-definition, placement and collision files.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "undo/change_fact.h"

namespace quarn {

/// The kinds of game file looked into; kOther is only a file.
enum class AnalysedFile {
  kOther,
  kArchiveDirectory,
  kGtaVcDat,
  kObjectDat,
  kIde,
  kIpl,
  kCol,
};

/// The kind of file `path` is, by its name.
AnalysedFile AnalysedFileOf(const std::string& path);

/// True when the changes of file `path` are told entry by entry: the files
/// looked into, and the archive, whose entries its directory lists.
bool HasEntryFacts(const std::string& path);

/// The facts about the entries of `file` (of kind `kind`, named as the
/// facts name it) from `before` to `after`, a missing file being empty. For
/// an archive directory the facts name the archive beside it, and an entry
/// in both whose upper-cased name is in `written_names` was replaced.
std::vector<ChangeFact> ContentFacts(
    AnalysedFile kind, const std::string& file, const std::string& before,
    const std::string& after, const std::set<std::string>& written_names);

/// The object IDs the definition lines of item-definition file `bytes`
/// claim, one per line.
std::vector<uint16_t> ClaimedObjectIds(const std::string& bytes);

/// The object ID facts of a mod whose item-definition files held
/// `before` and `after` (all of them together): an ID no longer claimed is
/// freed, a new one claimed. In ID order.
std::vector<ChangeFact> ObjectIdFacts(const std::vector<uint16_t>& before,
                                      const std::vector<uint16_t>& after);

}  // namespace quarn
