#include "cli/failure_reason.h"

#include "text/ascii.h"

namespace quarn {

std::string FailureReasonLine(const FsError& error,
                              const std::string& game_folder) {
  if (error.reason.empty()) return "";
  std::string path = error.path;
  if (!game_folder.empty() && path.size() > game_folder.size() &&
      StartsWithIgnoringCase(path, game_folder)) {
    path.erase(0, game_folder.size());
  }
  return path + ": " + error.reason;
}

}  // namespace quarn
