#include "undo/change_fact.h"

#include <nlohmann/json.hpp>

#include "text/latin1.h"
#include "text/named_value.h"

namespace quarn {
namespace {

const FactKind kEveryKind[] = {
    FactKind::kFile,     FactKind::kFolder,       FactKind::kArchiveEntry,
    FactKind::kObjectId, FactKind::kGtaVcDatLine, FactKind::kObjectDatEntry,
    FactKind::kIdeEntry, FactKind::kIplEntry,     FactKind::kColModel};
const FactAction kEveryAction[] = {FactAction::kCreate,  FactAction::kChange,
                                   FactAction::kDelete,  FactAction::kAdd,
                                   FactAction::kReplace, FactAction::kRemove,
                                   FactAction::kClaim,   FactAction::kFree};

std::string SizeText(int64_t size) {
  return size < 0 ? "none" : std::to_string(size);
}

nlohmann::ordered_json SizeJson(int64_t size) {
  return size < 0 ? nlohmann::ordered_json(nullptr)
                  : nlohmann::ordered_json(size);
}

int64_t SizeFromJson(const nlohmann::ordered_json& json) {
  return json.is_null() ? -1 : json.get<int64_t>();
}

bool IsFileOrFolder(FactKind kind) {
  return kind == FactKind::kFile || kind == FactKind::kFolder;
}

}  // namespace

const char* FactKindName(FactKind kind) {
  switch (kind) {
    case FactKind::kFile:
      return "file";
    case FactKind::kFolder:
      return "folder";
    case FactKind::kArchiveEntry:
      return "archive entry";
    case FactKind::kObjectId:
      return "object ID";
    case FactKind::kGtaVcDatLine:
      return "gta_vc.dat line";
    case FactKind::kObjectDatEntry:
      return "object.dat entry";
    case FactKind::kIdeEntry:
      return "IDE entry";
    case FactKind::kIplEntry:
      return "IPL entry";
    case FactKind::kColModel:
      return "COL model";
  }
  return "file";
}

const char* FactActionName(FactAction action) {
  switch (action) {
    case FactAction::kCreate:
      return "create";
    case FactAction::kChange:
      return "change";
    case FactAction::kDelete:
      return "delete";
    case FactAction::kAdd:
      return "add";
    case FactAction::kReplace:
      return "replace";
    case FactAction::kRemove:
      return "remove";
    case FactAction::kClaim:
      return "claim";
    case FactAction::kFree:
      return "free";
  }
  return "change";
}

std::string FactActionPresent(FactAction action) {
  return std::string(FactActionName(action)) + "s";
}

std::string FactActionPast(FactAction action) {
  const std::string verb = FactActionName(action);
  return verb.back() == 'e' ? verb + "d" : verb + "ed";
}

std::string FactThing(const ChangeFact& fact) {
  std::string thing = FactKindName(fact.kind);
  if (IsFileOrFolder(fact.kind)) return thing + " " + fact.file;
  thing += " " + fact.subject;
  if (!fact.file.empty()) thing += " in " + fact.file;
  return thing;
}

std::string FactLine(const ChangeFact& fact) {
  std::string verb = FactActionName(fact.action);
  verb.resize(8, ' ');
  std::string line = verb + FactThing(fact);
  if (fact.kind == FactKind::kFile) {
    line += "  (" + SizeText(fact.size_before) + " -> " +
            SizeText(fact.size_after) + " bytes)";
  }
  return line;
}

nlohmann::ordered_json FactToJson(const ChangeFact& fact) {
  nlohmann::ordered_json json = {{"kind", FactKindName(fact.kind)},
                                 {"action", FactActionName(fact.action)},
                                 {"file", Latin1ToUtf8(fact.file)},
                                 {"subject", Latin1ToUtf8(fact.subject)}};
  if (fact.kind == FactKind::kFile) {
    json["size_before"] = SizeJson(fact.size_before);
    json["size_after"] = SizeJson(fact.size_after);
  }
  return json;
}

bool FactFromJson(const nlohmann::ordered_json& json, ChangeFact* fact) {
  try {
    ChangeFact read;
    if (!ValueNamed(kEveryKind, FactKindName,
                    json.at("kind").get<std::string>(), &read.kind) ||
        !ValueNamed(kEveryAction, FactActionName,
                    json.at("action").get<std::string>(), &read.action) ||
        !Utf8ToLatin1(json.at("file").get<std::string>(), &read.file) ||
        !Utf8ToLatin1(json.at("subject").get<std::string>(), &read.subject)) {
      return false;
    }
    if (read.kind == FactKind::kFile) {
      read.size_before = SizeFromJson(json.at("size_before"));
      read.size_after = SizeFromJson(json.at("size_after"));
    }
    *fact = std::move(read);
    return true;
  } catch (const nlohmann::ordered_json::exception&) {
    return false;
  }
}

}  // namespace quarn
