#include "img/img_names.h"

#include "text/ascii.h"

namespace quarn {

std::string_view NameView(const ImgEntry& entry) {
  const char* field = reinterpret_cast<const char*>(entry.bytes + 8);
  size_t length = 0;
  while (length < kImgNameFieldSize && field[length] != '\0') ++length;
  return std::string_view(field, length);
}

size_t MarkDeletedIgnoringCase(std::vector<ImgEntry>& entries,
                               const std::string& name) {
  const std::string wanted = ToUpperAscii(name);
  size_t marked = 0;
  for (ImgEntry& entry : entries) {
    // A hole's empty name never equals a name the script gave.
    if (entry.IsHole() || ToUpperAscii(entry.Name()) != wanted) continue;
    entry.MarkDeleted();
    ++marked;
  }
  return marked;
}

std::optional<size_t> FindFirstUpperCased(const std::vector<ImgEntry>& entries,
                                          const std::string& upper_name) {
  for (size_t i = 0; i < entries.size(); ++i) {
    if (ToUpperAscii(entries[i].Name()) == upper_name) return i;
  }
  return std::nullopt;
}

}  // namespace quarn
