#include "changes/content_facts.h"

#include <cstring>
#include <map>

#include "changes/keyed_line_diff.h"
#include "col/col_chunks.h"
#include "editing/list_file_lines.h"
#include "editing/section_file.h"
#include "ide/ide_sections.h"
#include "ide/object_id_of.h"
#include "img/img_directory.h"
#include "ipl/ipl_editor.h"
#include "text/ascii.h"

namespace quarn {
namespace {

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.rfind('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() &&
         text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The first `count` comma-separated fields of `line`, trimmed, joined by
// ", ".
std::string FirstFields(const std::string& line, size_t count) {
  std::string fields;
  size_t start = 0;
  for (size_t taken = 0; taken < count && start <= line.size(); ++taken) {
    const size_t comma = line.find(',', start);
    const size_t end = comma == std::string::npos ? line.size() : comma;
    if (taken > 0) fields += ", ";
    fields += Trimmed(line.substr(start, end - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return fields;
}

std::vector<KeyedLine> GtaVcDatLines(const std::string& bytes) {
  std::vector<KeyedLine> lines;
  for (const std::string& line : ListFileLines(bytes)) {
    if (!line.empty() && line[0] != '#') lines.push_back({line, line});
  }
  return lines;
}

// An object.dat line defines the object its first field names.
std::vector<KeyedLine> ObjectDatLines(const std::string& bytes) {
  std::vector<KeyedLine> lines;
  for (const std::string& line : ListFileLines(bytes)) {
    if (line.empty() || line[0] == '*') continue;
    const std::string name = line.substr(0, line.find_first_of(", \t"));
    lines.push_back({name, line});
  }
  return lines;
}

// Lines of a section file, keyed by their section and what `key_of` takes
// of the line.
template <typename KeyOf>
std::vector<KeyedLine> SectionLines(const std::string& bytes,
                                    const std::vector<std::string>& keywords,
                                    KeyOf key_of) {
  std::vector<KeyedLine> lines;
  for (const SectionFileEntry& entry : ReadSectionFile(bytes, keywords)) {
    if (entry.kind != SectionFileEntry::kLine) continue;
    lines.push_back(
        {keywords[entry.section] + " " + key_of(entry.section, entry.text),
         keywords[entry.section] + " " + entry.text});
  }
  return lines;
}

std::vector<KeyedLine> IdeLines(const std::string& bytes) {
  return SectionLines(bytes, IdeSectionKeywords(),
                      [](size_t section, const std::string& line) {
                        return ClaimsObjectIds(static_cast<IdeSection>(section))
                                   ? std::to_string(ObjectIdOf(line))
                                   : FirstFields(line, 1);
                      });
}

std::vector<KeyedLine> IplLines(const std::string& bytes) {
  return SectionLines(
      bytes, IplSectionKeywords(),
      [](size_t, const std::string& line) { return FirstFields(line, 2); });
}

// A model is its chunk: the same name with other bytes is a change.
std::vector<KeyedLine> ColModels(const std::string& bytes) {
  std::vector<ColChunk> chunks;
  ReadColChunks(bytes, &chunks);
  std::vector<KeyedLine> models;
  for (const ColChunk& chunk : chunks) {
    models.push_back({chunk.Name, chunk.Name + '\0' + chunk.Bytes});
  }
  return models;
}

// The names of the directory's entries in use, in record order.
std::vector<std::string> LiveNames(const std::string& bytes) {
  std::vector<std::string> names;
  for (const ImgEntry& entry : ImgRecordsOf(bytes)) {
    if (!entry.IsHole()) names.push_back(entry.Name());
  }
  return names;
}

std::vector<ChangeFact> ArchiveFacts(const std::string& dir,
                                     const std::string& before,
                                     const std::string& after,
                                     const std::set<std::string>& written) {
  const std::string archive =
      dir.substr(0, dir.size() - FileNameOf(dir).size()) + "gta3.img";
  std::set<std::string> old_names, new_names;
  for (const std::string& name : LiveNames(before)) {
    old_names.insert(ToUpperAscii(name));
  }
  std::vector<ChangeFact> facts;
  const auto tell = [&](FactAction action, const std::string& name) {
    ChangeFact fact;
    fact.kind = FactKind::kArchiveEntry;
    fact.action = action;
    fact.file = archive;
    fact.subject = name;
    facts.push_back(fact);
  };
  for (const std::string& name : LiveNames(after)) {
    const std::string upper = ToUpperAscii(name);
    if (!new_names.insert(upper).second) continue;
    if (old_names.count(upper) == 0) {
      tell(FactAction::kAdd, name);
    } else if (written.count(upper) != 0) {
      tell(FactAction::kReplace, name);
    }
  }
  std::set<std::string> told;
  for (const std::string& name : LiveNames(before)) {
    const std::string upper = ToUpperAscii(name);
    if (new_names.count(upper) == 0 && told.insert(upper).second) {
      tell(FactAction::kRemove, name);
    }
  }
  return facts;
}

}  // namespace

AnalysedFile AnalysedFileOf(const std::string& path) {
  const std::string name = ToUpperAscii(FileNameOf(path));
  if (name == "GTA3.DIR") return AnalysedFile::kArchiveDirectory;
  if (name == "GTA_VC.DAT") return AnalysedFile::kGtaVcDat;
  if (name == "OBJECT.DAT") return AnalysedFile::kObjectDat;
  if (EndsWith(name, ".IDE")) return AnalysedFile::kIde;
  if (EndsWith(name, ".IPL")) return AnalysedFile::kIpl;
  if (EndsWith(name, ".COL")) return AnalysedFile::kCol;
  return AnalysedFile::kOther;
}

bool HasEntryFacts(const std::string& path) {
  return AnalysedFileOf(path) != AnalysedFile::kOther ||
         ToUpperAscii(FileNameOf(path)) == "GTA3.IMG";
}

std::vector<ChangeFact> ContentFacts(
    AnalysedFile kind, const std::string& file, const std::string& before,
    const std::string& after, const std::set<std::string>& written_names) {
  switch (kind) {
    case AnalysedFile::kOther:
      return {};
    case AnalysedFile::kArchiveDirectory:
      return ArchiveFacts(file, before, after, written_names);
    case AnalysedFile::kGtaVcDat:
      return KeyedLineFacts(FactKind::kGtaVcDatLine, file,
                            GtaVcDatLines(before), GtaVcDatLines(after));
    case AnalysedFile::kObjectDat:
      return KeyedLineFacts(FactKind::kObjectDatEntry, file,
                            ObjectDatLines(before), ObjectDatLines(after));
    case AnalysedFile::kIde:
      return KeyedLineFacts(FactKind::kIdeEntry, file, IdeLines(before),
                            IdeLines(after));
    case AnalysedFile::kIpl:
      return KeyedLineFacts(FactKind::kIplEntry, file, IplLines(before),
                            IplLines(after));
    case AnalysedFile::kCol:
      return KeyedLineFacts(FactKind::kColModel, file, ColModels(before),
                            ColModels(after));
  }
  return {};
}

std::vector<uint16_t> ClaimedObjectIds(const std::string& bytes) {
  std::vector<uint16_t> ids;
  for (const SectionFileEntry& entry :
       ReadSectionFile(bytes, IdeSectionKeywords())) {
    if (entry.kind == SectionFileEntry::kLine &&
        ClaimsObjectIds(static_cast<IdeSection>(entry.section))) {
      ids.push_back(ObjectIdOf(entry.text));
    }
  }
  return ids;
}

std::vector<ChangeFact> ObjectIdFacts(const std::vector<uint16_t>& before,
                                      const std::vector<uint16_t>& after) {
  const std::set<uint16_t> old_ids(before.begin(), before.end());
  const std::set<uint16_t> new_ids(after.begin(), after.end());
  std::set<uint16_t> every = old_ids;
  every.insert(new_ids.begin(), new_ids.end());
  std::vector<ChangeFact> facts;
  for (uint16_t id : every) {
    const bool was = old_ids.count(id) != 0;
    if (was == (new_ids.count(id) != 0)) continue;
    ChangeFact fact;
    fact.kind = FactKind::kObjectId;
    fact.action = was ? FactAction::kFree : FactAction::kClaim;
    fact.subject = std::to_string(id);
    facts.push_back(fact);
  }
  return facts;
}

}  // namespace quarn
