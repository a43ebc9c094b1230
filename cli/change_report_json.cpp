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

template <typename T, typename ToJson>
nlohmann::ordered_json ListJson(const std::vector<T>& items, ToJson to_json) {
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (const T& item : items) list.push_back(to_json(item));
  return list;
}

nlohmann::ordered_json Names(const std::vector<std::string>& names) {
  return ListJson(names, Latin1ToUtf8);
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

nlohmann::ordered_json ModJson(const ModChangeSet& set) {
  return {{"mod_folder", Latin1ToUtf8(set.mod_folder)},
          {"mod_name", Latin1ToUtf8(set.mod_name)},
          {"label", Latin1ToUtf8(ModSetLabel(set))},
          {"game", Latin1ToUtf8(set.game)},
          {"outcome", ModOutcomeName(set.outcome)},
          {"changes", ListJson(set.facts, FactToJson)}};
}

nlohmann::ordered_json CollisionJson(const Collision& collision) {
  nlohmann::ordered_json earlier = {
      {"mod", Latin1ToUtf8(collision.earlier_mod)},
      {"action", FactActionName(collision.earlier.action)}};
  if (!collision.installed.empty()) {
    earlier["installed"] = collision.installed;
    earlier["journal_entry"] = collision.journal_entry;
  }
  nlohmann::ordered_json thing = FactToJson(collision.later);
  thing.erase("action");
  thing.erase("size_before");
  thing.erase("size_after");
  return {{"thing", thing},
          {"text", Latin1ToUtf8(CollisionLine(collision))},
          {"earlier", earlier},
          {"later",
           {{"mod", Latin1ToUtf8(collision.later_mod)},
            {"action", FactActionName(collision.later.action)}}},
          {"winner", Latin1ToUtf8(collision.winner)}};
}

nlohmann::ordered_json ProblemJson(const CheckProblem& problem) {
  return {{"file", Latin1ToUtf8(problem.file)},
          {"line", problem.line},
          {"effect", EffectWords(problem.effect)},
          {"fatal", IsFatal(problem.effect)},
          {"what", Latin1ToUtf8(problem.what)},
          {"rule", problem.rule},
          {"text", Latin1ToUtf8(ProblemLine(problem))}};
}

nlohmann::ordered_json TablesJson(const CheckFindings& findings) {
  nlohmann::ordered_json tables = nlohmann::ordered_json::array();
  for (const TableLimit& table : StockLimits()) {
    tables.push_back({{"name", table.name},
                      {"label", table.label},
                      {"used", findings.UseOf(table.limit)},
                      {"limit", findings.limits.Of(table.limit)}});
  }
  return tables;
}

nlohmann::ordered_json BrokenRuleJson(const BrokenRule& rule) {
  return {{"rule", rule.rule},
          {"before_run", rule.before_run},
          {"first_broken_by",
           rule.mod.empty() ? nlohmann::ordered_json(nullptr)
                            : nlohmann::ordered_json(Latin1ToUtf8(rule.mod))}};
}

nlohmann::ordered_json CheckJson(const GameCheckChanges& check) {
  return {{"game", Latin1ToUtf8(check.game)},
          {"exit_status", CheckExitStatus(check.findings)},
          {"verdict", VerdictLine(check.findings)},
          {"problems", ListJson(check.findings.problems, ProblemJson)},
          {"tables", TablesJson(check.findings)},
          {"broken_rules", ListJson(check.broken, BrokenRuleJson)}};
}

}  // namespace

std::string ChangeReportJson(const ChangeReport& report) {
  const nlohmann::ordered_json json = {
      {"format", 1},
      {"dry_run", true},
      {"outcome", OutcomeOf(report.exit_status)},
      {"exit_status", report.exit_status},
      {"changes", ListJson(report.changes, ChangeJson)},
      {"archives", ListJson(report.archives, ArchiveJson)},
      {"spill_failed", report.spill_failed},
      {"unprobed", Names(report.unprobed)},
      {"mods", ListJson(report.mods, ModJson)},
      {"collisions", ListJson(report.collisions, CollisionJson)},
      {"installed_collisions",
       ListJson(report.installed_collisions, CollisionJson)},
      {"checks", ListJson(report.checks, CheckJson)}};
  return json.dump(2) + "\n";
}

}  // namespace quarn
