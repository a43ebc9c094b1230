#include "shell/saved_selection.h"

#include <cmath>
#include <limits>
#include <vector>

#include "platform/file_contents.h"
#include "platform/game_file.h"
#include "text/ascii.h"
#include "text/lines.h"
#include "text/numbers.h"

namespace quarn {
namespace {

constexpr size_t kReadLineCapacity = 999;
constexpr size_t kPathCapacity = 999;
const char kPathLabel[] = "game path: ";
constexpr size_t kFirstEntryLine = 4;  // index of line 5

// The value a line's number gives as a stored 32-bit option or selection:
// the whole part, held to the type's range.
int32_t LenientInt32(const std::string& text) {
  const double value = std::trunc(ReadLenientNumber(text));
  if (std::isnan(value)) return 0;
  if (value >= std::numeric_limits<int32_t>::max()) {
    return std::numeric_limits<int32_t>::max();
  }
  if (value <= std::numeric_limits<int32_t>::min()) {
    return std::numeric_limits<int32_t>::min();
  }
  return static_cast<int32_t>(value);
}

// One comma-separated field from `*pos` on, which is left after its comma.
std::string NextField(const std::string& line, size_t* pos) {
  size_t at = *pos;
  while (at < line.size() && line[at] == ' ') ++at;
  std::string field;
  if (at < line.size() && line[at] == '"') {
    const size_t close = line.find('"', at + 1);
    field = line.substr(at + 1, close == std::string::npos ? std::string::npos
                                                           : close - at - 1);
    at = close == std::string::npos ? line.size() : close + 1;
    const size_t comma = line.find(',', at);
    *pos = comma == std::string::npos ? line.size() : comma + 1;
    return field;
  }
  const size_t comma = line.find(',', at);
  field = line.substr(
      at, comma == std::string::npos ? std::string::npos : comma - at);
  while (!field.empty() && field.back() == ' ') field.pop_back();
  *pos = comma == std::string::npos ? line.size() : comma + 1;
  return field;
}

void MergeTick(const std::string& line, ModCatalogue* catalogue) {
  size_t pos = 0;
  const std::string name = ToUpperAscii(NextField(line, &pos));
  const int32_t selection = LenientInt32(NextField(line, &pos));
  for (ModEntry& entry : catalogue->Entries) {
    if (ToUpperAscii(entry.FolderName) == name) entry.Selection = selection;
  }
}

std::string NumberField(int32_t value) { return FormatSigned(value) + " "; }

// Quoted only when a comma or a quote would split the name on reading.
std::string NameField(const std::string& name) {
  if (name.find_first_of(",\"") == std::string::npos) return name;
  return "\"" + name + "\"";
}

}  // namespace

SavedSelection LoadSavedSelection(FileSystem& fs, const std::string& path,
                                  ModCatalogue* catalogue) {
  SavedSelection saved;
  std::string bytes;
  if (!ReadWholeFile(fs, path, &bytes)) return saved;
  std::vector<std::string> lines = SplitLines(bytes);
  for (std::string& line : lines) line = LineUpToNul(line, kReadLineCapacity);
  if (lines.empty()) return saved;
  saved.remembered_path = CutTo(FromCharacter(lines[0], 12), kPathCapacity);
  if (!catalogue->Present) return saved;
  int32_t* options[] = {&saved.options.FastCopyFromBackup,
                        &saved.options.ScanCullZones,
                        &saved.options.DumpObjectIds};
  for (size_t i = 0; i < 3 && i + 1 < lines.size(); ++i) {
    *options[i] = LenientInt32(lines[i + 1]);
  }
  for (size_t i = kFirstEntryLine; i < lines.size(); ++i) {
    MergeTick(lines[i], catalogue);
  }
  return saved;
}

std::string SavedSelectionText(const std::string& chosen_path,
                               const InstallerOptions& options,
                               const ModCatalogue& catalogue) {
  std::vector<std::string> lines = {
      kPathLabel + chosen_path, NumberField(options.FastCopyFromBackup),
      NumberField(options.ScanCullZones), NumberField(options.DumpObjectIds)};
  for (const ModEntry& entry : catalogue.Entries) {
    lines.push_back(NameField(entry.FolderName) + "," +
                    NumberField(entry.Selection));
  }
  return JoinLinesCrLf(lines);
}

bool SaveSelection(FileSystem& fs, const std::string& path,
                   const std::string& chosen_path,
                   const InstallerOptions& options,
                   const ModCatalogue& catalogue) {
  return ReplaceWholeFile(fs, path,
                          SavedSelectionText(chosen_path, options, catalogue));
}

}  // namespace quarn
