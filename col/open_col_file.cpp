#include "col/open_col_file.h"

#include <algorithm>

#include "text/ascii.h"

namespace quarn {

size_t OpenColFile::RemoveNamed(const std::string& name) {
  const size_t before = Models.size();
  Models.erase(std::remove_if(Models.begin(), Models.end(),
                              [&name](const ColChunk& model) {
                                return EqualsIgnoringCase(model.Name, name);
                              }),
               Models.end());
  return before - Models.size();
}

std::string OpenColFile::FileBytes() const {
  std::string bytes;
  for (const ColChunk& model : Models) bytes += model.Bytes;
  return bytes;
}

std::string OpenColFile::TooManyModelsMessage() const {
  return "Too many COL objects (at most " + std::to_string(kColModelCapacity) +
         "): " + Path;
}

}  // namespace quarn
