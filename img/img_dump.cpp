#include "img/img_dump.h"

#include "img/img_names.h"
#include "text/numbers.h"

namespace quarn {
namespace {

// A number written as a field of the table: sign position, digits, blank.
void AppendNumberField(std::string* line, int64_t value) {
  *line += FormatSigned(value);
  *line += ' ';
}

void AppendDumpLine(std::string* text, size_t index, const ImgEntry& entry) {
  const int64_t size = entry.Size();
  AppendNumberField(text, static_cast<int64_t>(index));
  *text += "  ";
  AppendNumberField(text, entry.Offset());
  *text += "  ";
  AppendNumberField(text, size);
  AppendNumberField(text, size * kImgSectorSize);
  *text += "  ";
  *text += NameView(entry);
}

}  // namespace

std::string DumpLine(size_t index, const ImgEntry& entry) {
  std::string line;
  AppendDumpLine(&line, index, entry);
  return line;
}

std::string DumpText(const std::vector<ImgEntry>& entries) {
  // About 45 characters a line; one buffer for the whole table.
  std::string text = "Index Address Size Name\r\n";
  text.reserve(text.size() + entries.size() * 48);
  for (size_t i = 0; i < entries.size(); ++i) {
    AppendDumpLine(&text, i, entries[i]);
    text += "\r\n";
  }
  return text;
}

}  // namespace quarn
