#include "text/latin1.h"

namespace quarn {

std::string Latin1ToUtf8(const std::string& bytes) {
  std::string text;
  for (unsigned char c : bytes) {
    if (c < 0x80) {
      text += static_cast<char>(c);
    } else {
      text += static_cast<char>(0xC0 | (c >> 6));
      text += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return text;
}

bool Utf8ToLatin1(const std::string& utf8, std::string* bytes) {
  bytes->clear();
  for (size_t i = 0; i < utf8.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      *bytes += static_cast<char>(c);
      continue;
    }
    if ((c & 0xFE) != 0xC2 || i + 1 >= utf8.size() ||
        (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) != 0x80) {
      return false;
    }
    *bytes += static_cast<char>(((c & 0x03) << 6) | (utf8[++i] & 0x3F));
  }
  return true;
}

}  // namespace quarn
