// The game's 8-bit names in text formats that want Unicode (JSON): each
// byte is the code point of its value, so that every name survives.
#pragma once

#include <string>

namespace quarn {

/// `bytes` in UTF-8, byte n as code point n.
std::string Latin1ToUtf8(const std::string& bytes);

/// The bytes Latin1ToUtf8 made `utf8` from; false for a code point above
/// U+00FF or text that is no UTF-8.
bool Utf8ToLatin1(const std::string& utf8, std::string* bytes);

}  // namespace quarn
