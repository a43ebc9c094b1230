#include "editing/contained_path.h"

namespace quarn {

std::string ContainedPathError(const std::string& argument,
                               const std::string& command) {
  if (argument.find(':') != std::string::npos) {
    return "Script error: Colon not allowed in " + command;
  }
  if (!argument.empty() && argument[0] == '\\') {
    return "Script error: Root specifier not allowed in " + command;
  }
  if (argument.find("..") != std::string::npos) {
    return "Script error: .. not allowed in " + command;
  }
  return "";
}

}  // namespace quarn
