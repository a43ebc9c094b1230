#include "editing/list_file_lines.h"

#include "text/lines.h"

namespace quarn {

std::vector<std::string> ListFileLines(const std::string& bytes) {
  std::vector<std::string> lines = SplitLines(bytes);
  for (std::string& line : lines) {
    line = TrimBlanks(LineUpToNul(line, kListLineReadCapacity));
  }
  return lines;
}

}  // namespace quarn
