// The JSON form of a dry run's report, its fields in the order the README
// documents them.
#include <nlohmann/json.hpp>

#include "cli/change_report.h"
#include "cli/quarn_cli.h"
#include "text/latin1.h"

namespace quarn {
namespace {

const char* OutcomeOf(int exit_status) {
  switch (exit_status) {
    case kExitAllDone:
      return "all done";
    case kExitAborted:
      return "aborted";
    default:
      return "failed";
  }
}

nlohmann::ordered_json ChangeJson(const OverlayChange& change) {
  using What = OverlayChange::What;
  const bool folder = change.what == What::kFolderCreated ||
                      change.what == What::kFolderChanged;
  const bool created =
      change.what == What::kFileCreated || change.what == What::kFolderCreated;
  nlohmann::ordered_json json;
  json["action"] = created                             ? "create"
                   : change.what == What::kFileDeleted ? "delete"
                                                       : "change";
  json["kind"] = folder ? "folder" : "file";
  json["path"] = Latin1ToUtf8(change.path);
  if (!folder) {
    json["size_before"] = change.what == What::kFileCreated
                              ? nlohmann::ordered_json(nullptr)
                              : nlohmann::ordered_json(change.size_before);
    json["size_after"] = change.what == What::kFileDeleted
                             ? nlohmann::ordered_json(nullptr)
                             : nlohmann::ordered_json(change.size_after);
  }
  json["attributes_before"] = AttributeLetters(change.attributes_before);
  json["attributes_after"] = AttributeLetters(change.attributes_after);
  return json;
}

nlohmann::ordered_json Names(const std::vector<std::string>& names) {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const std::string& name : names) list.push_back(Latin1ToUtf8(name));
  return list;
}

nlohmann::ordered_json ArchiveJson(const ArchiveChanges& archive) {
  nlohmann::ordered_json json = {{"game", Latin1ToUtf8(archive.game)},
                                 {"compared", archive.compared}};
  if (archive.compared) {
    json["added"] = Names(archive.entries.added);
    json["replaced"] = Names(archive.entries.replaced);
    json["removed"] = Names(archive.entries.removed);
  }
  return json;
}

}  // namespace

std::string ChangeReportJson(const ChangeReport& report) {
  nlohmann::ordered_json changes = nlohmann::ordered_json::array();
  for (const OverlayChange& change : report.changes) {
    changes.push_back(ChangeJson(change));
  }
  nlohmann::ordered_json archives = nlohmann::ordered_json::array();
  for (const ArchiveChanges& archive : report.archives) {
    archives.push_back(ArchiveJson(archive));
  }
  const nlohmann::ordered_json json = {
      {"format", 1},
      {"dry_run", true},
      {"outcome", OutcomeOf(report.exit_status)},
      {"exit_status", report.exit_status},
      {"changes", changes},
      {"archives", archives},
      {"spill_failed", report.spill_failed},
      {"unprobed", Names(report.unprobed)}};
  return json.dump(2) + "\n";
}

}  // namespace quarn
