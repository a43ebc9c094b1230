#include "text/numbers.h"

#include <cctype>
#include <cstdlib>

namespace quarn {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the run of digits starting at `pos`.
size_t DigitsAt(const std::string& text, size_t pos) {
  size_t end = pos;
  while (end < text.size() && IsDigit(text[end])) ++end;
  return end - pos;
}

// Length of the longest prefix of text[pos..] that still reads as a number.
size_t NumberLength(const std::string& text, size_t pos) {
  size_t end = pos;
  if (end < text.size() && (text[end] == '+' || text[end] == '-')) ++end;
  const size_t whole = DigitsAt(text, end);
  end += whole;
  size_t fraction = 0;
  if (end < text.size() && text[end] == '.') {
    fraction = DigitsAt(text, end + 1);
    if (whole + fraction > 0) end += 1 + fraction;
  }
  if (whole + fraction == 0) return 0;
  if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
    size_t exp = end + 1;
    if (exp < text.size() && (text[exp] == '+' || text[exp] == '-')) ++exp;
    const size_t digits = DigitsAt(text, exp);
    if (digits > 0) end = exp + digits;
  }
  return end - pos;
}

}  // namespace

std::string FormatSigned(int64_t value) {
  const std::string digits =
      value < 0 ? std::to_string(-static_cast<uint64_t>(value))
                : std::to_string(value);
  return (value < 0 ? "-" : " ") + digits;
}

std::string FormatGrouped(int64_t value) {
  const std::string digits =
      value < 0 ? std::to_string(-static_cast<uint64_t>(value))
                : std::to_string(value);
  std::string grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return value < 0 ? "-" + grouped : grouped;
}

double ReadLenientNumber(const std::string& text) {
  size_t pos = 0;
  while (pos < text.size() && text[pos] == ' ') ++pos;
  const size_t length = NumberLength(text, pos);
  if (length == 0) return 0;
  return std::strtod(text.substr(pos, length).c_str(), nullptr);
}

}  // namespace quarn
