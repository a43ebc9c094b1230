#include "testutil/expected_log.h"

namespace quarn {

std::string CrLfLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::string SingleModLog(const std::string& game,
                         const std::vector<std::string>& body, bool succeeded) {
  const std::string rule(43, '-');
  const std::string outcome =
      succeeded ? "                All done."
                : "The script failed. The installation failed.";
  return "Selected game path: " + game.substr(0, game.size() - 1) + "\r\n" +
         CrLfLines(body) + CrLfLines({" ", rule, outcome, rule, " "});
}

}  // namespace quarn
