#include "undo/journal_entry.h"

#include <nlohmann/json.hpp>

#include "text/latin1.h"
#include "text/named_value.h"
#include "undo/change_fact.h"

namespace quarn {
namespace {

constexpr int kEntryFormat = 1;
const EntryEnd kEveryEnd[] = {EntryEnd::kUnfinished, EntryEnd::kFinished,
                              EntryEnd::kFailed, EntryEnd::kAborted};

nlohmann::ordered_json FingerprintToJson(const Fingerprint& print) {
  return {{"path", Latin1ToUtf8(print.path)},
          {"exists", print.exists},
          {"folder", print.folder},
          {"attributes", print.attributes},
          {"size", print.size},
          {"hash", print.hash}};
}

bool FingerprintFromJson(const nlohmann::ordered_json& json,
                         Fingerprint* print) {
  print->exists = json.at("exists").get<bool>();
  print->folder = json.at("folder").get<bool>();
  print->attributes = json.at("attributes").get<uint32_t>();
  print->size = json.at("size").get<uint64_t>();
  print->hash = json.at("hash").get<uint64_t>();
  return Utf8ToLatin1(json.at("path").get<std::string>(), &print->path);
}

}  // namespace

const char* EntryEndName(EntryEnd end) {
  switch (end) {
    case EntryEnd::kUnfinished:
      return "unfinished";
    case EntryEnd::kFinished:
      return "finished";
    case EntryEnd::kFailed:
      return "failed";
    case EntryEnd::kAborted:
      return "aborted";
  }
  return "unfinished";
}

bool Fingerprint::operator==(const Fingerprint& other) const {
  return path == other.path && exists == other.exists &&
         folder == other.folder && attributes == other.attributes &&
         size == other.size && hash == other.hash;
}

std::string EntryToText(const JournalEntry& entry) {
  nlohmann::ordered_json prints = nlohmann::ordered_json::array();
  for (const Fingerprint& print : entry.fingerprints) {
    prints.push_back(FingerprintToJson(print));
  }
  nlohmann::ordered_json changes = nlohmann::ordered_json::array();
  for (const ChangeFact& fact : entry.changes) {
    changes.push_back(FactToJson(fact));
  }
  const nlohmann::ordered_json json = {
      {"format", kEntryFormat},
      {"number", entry.number},
      {"run", entry.run},
      {"installer", Latin1ToUtf8(entry.installer_dir)},
      {"mod_folder", Latin1ToUtf8(entry.mod_folder)},
      {"mod_name", Latin1ToUtf8(entry.mod_name)},
      {"started", entry.started},
      {"ended", EntryEndName(entry.end)},
      {"fingerprints", prints},
      {"changes", changes}};
  return json.dump(1) + "\n";
}

bool EntryFromText(const std::string& text, JournalEntry* entry) {
  const nlohmann::ordered_json json =
      nlohmann::ordered_json::parse(text, nullptr, false);
  if (!json.is_object()) return false;
  try {
    if (json.at("format").get<int>() != kEntryFormat) return false;
    JournalEntry read;
    read.number = json.at("number").get<int>();
    read.run = json.at("run").get<int>();
    read.started = json.at("started").get<std::string>();
    for (const nlohmann::ordered_json& print : json.at("fingerprints")) {
      read.fingerprints.emplace_back();
      if (!FingerprintFromJson(print, &read.fingerprints.back())) return false;
    }
    // Entries written before the journal kept change sets have none.
    if (json.contains("changes")) {
      for (const nlohmann::ordered_json& fact : json.at("changes")) {
        read.changes.emplace_back();
        if (!FactFromJson(fact, &read.changes.back())) return false;
      }
    }
    if (!ValueNamed(kEveryEnd, EntryEndName,
                    json.at("ended").get<std::string>(), &read.end) ||
        !Utf8ToLatin1(json.at("installer").get<std::string>(),
                      &read.installer_dir) ||
        !Utf8ToLatin1(json.at("mod_folder").get<std::string>(),
                      &read.mod_folder) ||
        !Utf8ToLatin1(json.at("mod_name").get<std::string>(), &read.mod_name)) {
      return false;
    }
    *entry = std::move(read);
    return true;
  } catch (const nlohmann::ordered_json::exception&) {
    return false;
  }
}

std::string ModLabel(const std::string& folder, const std::string& name) {
  if (folder.empty()) return "QuarnInstall.txt";
  if (name.empty()) return folder;
  return folder + " (" + name + ")";
}

std::string EntryModLabel(const JournalEntry& entry) {
  return ModLabel(entry.mod_folder, entry.mod_name);
}

}  // namespace quarn
