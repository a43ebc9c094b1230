#include "text/lines.h"

namespace quarn {

std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::string current;
  bool pending = false;  // text or a line end was seen since the last line
  for (size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\x1a') break;
    if (c == '\r' || c == '\n') {
      lines.push_back(current);
      current.clear();
      pending = false;
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      continue;
    }
    current += c;
    pending = true;
  }
  if (pending) lines.push_back(current);
  return lines;
}

std::string LineUpToNul(const std::string& line, size_t capacity) {
  const size_t nul = line.find('\0');
  const std::string text = nul == std::string::npos ? line : line.substr(0, nul);
  return text.size() > capacity ? text.substr(0, capacity) : text;
}

std::string JoinLinesCrLf(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::string TrimBlanks(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  const size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

}  // namespace quarn
