#include "img/img_dump.h"

#include "img/img_names.h"
#include "text/lines.h"
#include "text/numbers.h"

namespace quarn {
namespace {

// A number written as a field of the table: sign position, digits, blank.
std::string NumberField(int64_t value) { return FormatSigned(value) + " "; }

}  // namespace

std::string DumpLine(size_t index, const ImgEntry& entry) {
  const int64_t size = entry.Size();
  return NumberField(static_cast<int64_t>(index)) + "  " +
         NumberField(entry.Offset()) + "  " + NumberField(size) +
         NumberField(size * kImgSectorSize) + "  " +
         std::string(NameView(entry));
}

std::string DumpText(const std::vector<ImgEntry>& entries) {
  std::vector<std::string> lines;
  lines.reserve(entries.size() + 1);
  lines.push_back("Index Address Size Name");
  for (size_t i = 0; i < entries.size(); ++i) {
    lines.push_back(DumpLine(i, entries[i]));
  }
  return JoinLinesCrLf(lines);
}

}  // namespace quarn
