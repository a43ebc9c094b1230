#include "gamecheck/game_lines.h"

#include <algorithm>

namespace quarn {
namespace {

char AsTheGameSeesIt(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  return u < 0x20 || c == ',' ? ' ' : c;
}

bool HoldsMoreThanBlanks(const std::string& bytes, size_t from, size_t to) {
  for (size_t i = from; i < to; ++i) {
    if (AsTheGameSeesIt(bytes[i]) != ' ') return true;
  }
  return false;
}

GameLine LineBetween(const std::string& bytes, size_t start, size_t end,
                     size_t number) {
  GameLine line;
  line.number = number;
  const size_t kept = std::min(end - start, kGameLineCapacity);
  line.text.resize(kept);
  for (size_t i = 0; i < kept; ++i) {
    line.text[i] = AsTheGameSeesIt(bytes[start + i]);
  }
  line.cut = HoldsMoreThanBlanks(bytes, start + kept, end);
  return line;
}

}  // namespace

std::vector<GameLine> ReadGameLines(const std::string& bytes) {
  std::vector<GameLine> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    lines.push_back(LineBetween(bytes, start, end, lines.size() + 1));
    start = end + 1;
  }
  return lines;
}

std::vector<std::string_view> GameValues(std::string_view text) {
  std::vector<std::string_view> values;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] == ' ') ++i;
    const size_t start = i;
    while (i < text.size() && text[i] != ' ') ++i;
    if (i > start) values.push_back(text.substr(start, i - start));
  }
  return values;
}

std::string_view WithoutLeadingBlanks(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  return text.substr(i);
}

bool GameInteger(std::string_view value, long* number) {
  size_t i = 0;
  bool negative = false;
  if (i < value.size() && (value[i] == '-' || value[i] == '+')) {
    negative = value[i] == '-';
    ++i;
  }
  if (i >= value.size() || value[i] < '0' || value[i] > '9') return false;
  long n = 0;
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
    if (n < 100000000) n = n * 10 + (value[i] - '0');
  }
  *number = negative ? -n : n;
  return true;
}

}  // namespace quarn
