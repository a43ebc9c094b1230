// How numbers look in messages and text files, and how they are read back.
#pragma once

#include <cstdint>
#include <string>

namespace quarn {

/// Decimal digits behind a sign position: a blank for zero or more, "-"
/// otherwise (7 gives " 7", -7 gives "-7").
std::string FormatSigned(int64_t value);

/// Decimal digits grouped by commas in threes, no sign position
/// (1234567 gives "1,234,567").
std::string FormatGrouped(int64_t value);

/// Reads the number a text begins with: leading blanks skipped, an optional
/// sign, digits, a decimal point and an exponent, up to the first character
/// that cannot continue the number. A text without a number reads as 0.
double ReadLenientNumber(const std::string& text);

}  // namespace quarn
