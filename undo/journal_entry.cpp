#include "undo/journal_entry.h"

#include <nlohmann/json.hpp>

namespace quarn {
namespace {

constexpr int kEntryFormat = 1;
const EntryEnd kEveryEnd[] = {EntryEnd::kUnfinished, EntryEnd::kFinished,
                              EntryEnd::kFailed, EntryEnd::kAborted};

// Paths and names are the game's 8-bit text, not UTF-8: each byte is kept as
// one code point so that any name survives the round trip.
std::string ToJsonText(const std::string& bytes) {
  std::string text;
  for (unsigned char c : bytes) {
    if (c < 0x80) {
      text += static_cast<char>(c);
    } else {
      text += static_cast<char>(0xC0 | (c >> 6));
      text += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return text;
}

bool FromJsonText(const std::string& text, std::string* bytes) {
  bytes->clear();
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      *bytes += static_cast<char>(c);
    } else if ((c & 0xFE) == 0xC2 && i + 1 < text.size()) {
      *bytes += static_cast<char>(((c & 0x03) << 6) | (text[++i] & 0x3F));
    } else {
      return false;
    }
  }
  return true;
}

nlohmann::json FingerprintToJson(const Fingerprint& print) {
  return {{"path", ToJsonText(print.path)},
          {"exists", print.exists},
          {"folder", print.folder},
          {"attributes", print.attributes},
          {"size", print.size},
          {"hash", print.hash}};
}

bool FingerprintFromJson(const nlohmann::json& json, Fingerprint* print) {
  print->exists = json.at("exists").get<bool>();
  print->folder = json.at("folder").get<bool>();
  print->attributes = json.at("attributes").get<uint32_t>();
  print->size = json.at("size").get<uint64_t>();
  print->hash = json.at("hash").get<uint64_t>();
  return FromJsonText(json.at("path").get<std::string>(), &print->path);
}

bool EndFromName(const std::string& name, EntryEnd* end) {
  for (EntryEnd candidate : kEveryEnd) {
    if (name == EntryEndName(candidate)) {
      *end = candidate;
      return true;
    }
  }
  return false;
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
  nlohmann::json prints = nlohmann::json::array();
  for (const Fingerprint& print : entry.fingerprints) {
    prints.push_back(FingerprintToJson(print));
  }
  const nlohmann::json json = {{"format", kEntryFormat},
                               {"number", entry.number},
                               {"run", entry.run},
                               {"installer", ToJsonText(entry.installer_dir)},
                               {"mod_folder", ToJsonText(entry.mod_folder)},
                               {"mod_name", ToJsonText(entry.mod_name)},
                               {"started", entry.started},
                               {"ended", EntryEndName(entry.end)},
                               {"fingerprints", prints}};
  return json.dump(1) + "\n";
}

bool EntryFromText(const std::string& text, JournalEntry* entry) {
  const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
  if (!json.is_object()) return false;
  try {
    if (json.at("format").get<int>() != kEntryFormat) return false;
    JournalEntry read;
    read.number = json.at("number").get<int>();
    read.run = json.at("run").get<int>();
    read.started = json.at("started").get<std::string>();
    for (const nlohmann::json& print : json.at("fingerprints")) {
      read.fingerprints.emplace_back();
      if (!FingerprintFromJson(print, &read.fingerprints.back())) return false;
    }
    if (!EndFromName(json.at("ended").get<std::string>(), &read.end) ||
        !FromJsonText(json.at("installer").get<std::string>(),
                      &read.installer_dir) ||
        !FromJsonText(json.at("mod_folder").get<std::string>(),
                      &read.mod_folder) ||
        !FromJsonText(json.at("mod_name").get<std::string>(), &read.mod_name)) {
      return false;
    }
    *entry = std::move(read);
    return true;
  } catch (const nlohmann::json::exception&) {
    return false;
  }
}

std::string EntryModLabel(const JournalEntry& entry) {
  if (entry.mod_folder.empty()) return "QuarnInstall.txt";
  if (entry.mod_name.empty()) return entry.mod_folder;
  return entry.mod_folder + " (" + entry.mod_name + ")";
}

}  // namespace quarn
