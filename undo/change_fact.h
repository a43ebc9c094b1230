// One thing a mod changed, in the game's own terms: a file, an archive
// entry, an object ID, a line of a list file, an entry of an item-definition,
// placement or collision file. The journal keeps them per installed mod; the
// dry run reports them per mod and finds where mods collide.
#pragma once

#include <cstdint>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <vector>

namespace quarn {

/// What a fact is about.
enum class FactKind {
  kFile,
  kFolder,
  kArchiveEntry,
  kObjectId,
  kGtaVcDatLine,
  kObjectDatEntry,
  kIdeEntry,
  kIplEntry,
  kColModel,
};

/// What the mod did to it.
enum class FactAction {
  kCreate,
  kChange,
  kDelete,
  kAdd,
  kReplace,
  kRemove,
  kClaim,
  kFree,
};

/// One change of one mod.
struct ChangeFact {
  FactKind kind = FactKind::kFile;
  FactAction action = FactAction::kChange;
  /// The file or folder itself, or the file that holds the entry, relative
  /// to the game folder when inside it; empty for an object ID.
  std::string file;
  /// The entry: a name, an ID, a line, or a section and its key; empty for
  /// a file or folder.
  std::string subject;
  int64_t size_before = -1;  ///< files only; -1: there was no file
  int64_t size_after = -1;   ///< files only; -1: there is no file
};

/// The kind's name in reports and files: "file", "archive entry", ...
const char* FactKindName(FactKind kind);

/// The action's verb: "create", "replace", "claim", ...
const char* FactActionName(FactAction action);

/// The verb in the third person ("replaces") and in the past ("replaced").
std::string FactActionPresent(FactAction action);
std::string FactActionPast(FactAction action);

/// What the fact is about, as a report names it: "archive entry car.dff in
/// models\gta3.img", "object ID 700", "file data\x.txt".
std::string FactThing(const ChangeFact& fact);

/// One report line for the fact: its verb padded, its thing, and for a
/// file its sizes ("change   file data\x.txt  (10 -> 12 bytes)").
std::string FactLine(const ChangeFact& fact);

/// The fact as JSON, 8-bit text turned into UTF-8.
nlohmann::ordered_json FactToJson(const ChangeFact& fact);

/// Reads a fact written by FactToJson; false if `json` is not one.
bool FactFromJson(const nlohmann::ordered_json& json, ChangeFact* fact);

}  // namespace quarn
