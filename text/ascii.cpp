#include "text/ascii.h"

namespace quarn {

std::string ToUpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

std::string ToLowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && ToUpperAscii(a) == ToUpperAscii(b);
}

bool StartsWithIgnoringCase(const std::string& text,
                            const std::string& prefix) {
  return text.size() >= prefix.size() &&
         ToUpperAscii(text.substr(0, prefix.size())) == ToUpperAscii(prefix);
}

std::string CutTo(const std::string& text, size_t capacity) {
  return text.size() > capacity ? text.substr(0, capacity) : text;
}

std::string FromCharacter(const std::string& text, size_t first) {
  return first >= 1 && first <= text.size() ? text.substr(first - 1) : "";
}

std::string WithTrailingBackslash(const std::string& path) {
  return !path.empty() && path.back() == '\\' ? path : path + '\\';
}

}  // namespace quarn
