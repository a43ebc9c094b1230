#include "testutil/expected_log.h"

namespace quarn {
namespace {

std::string Banner(const std::string& rule, const std::string& text) {
  return JoinLinesCrLf({" ", rule, text, rule, " "});
}

}  // namespace

std::string DoneBanner() {
  return Banner(std::string(43, '-'), "                All done.");
}

std::string FailedBanner() {
  return Banner(std::string(43, '-'),
                "The script failed. The installation failed.");
}

std::string AbortedBanner() {
  return Banner(std::string(23, '-'), "The script was aborted.");
}

std::string SelectedGameLine(const std::string& game) {
  return "Selected game path: " + game.substr(0, game.size() - 1) + "\r\n";
}

std::string SingleModLog(const std::string& game,
                         const std::vector<std::string>& body, bool succeeded) {
  return SelectedGameLine(game) + JoinLinesCrLf(body) +
         (succeeded ? DoneBanner() : FailedBanner());
}

}  // namespace quarn
