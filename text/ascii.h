// Letter case and fixed capacities, as every comparison and buffer in the
// program treats them: 8-bit text, only a to z have an upper case.
#pragma once

#include <cstddef>
#include <string>

namespace quarn {

/// `text` with the letters a to z made upper case; every other byte kept.
std::string ToUpperAscii(std::string text);

/// `text` with the letters A to Z made lower case; every other byte kept.
std::string ToLowerAscii(std::string text);

/// True when both texts are equal once upper-cased.
bool EqualsIgnoringCase(const std::string& a, const std::string& b);

/// True when `text` begins with `prefix`, both upper-cased.
bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix);

/// `text` cut to at most `capacity` characters, without a word.
std::string CutTo(const std::string& text, size_t capacity);

/// `text` from its `first` character on (counting from 1), or empty.
std::string FromCharacter(const std::string& text, size_t first);

/// `path` with a backslash appended unless it already ends in one.
std::string WithTrailingBackslash(const std::string& path);

}  // namespace quarn
