#include "ide/object_id_of.h"

#include <cmath>

#include "text/numbers.h"

namespace quarn {
namespace {

// The first field without its quotes, or up to the first comma without
// trailing blanks. A quote that is never closed takes the rest of the line.
std::string FirstField(const std::string& line) {
  const size_t start = line.find_first_not_of(' ');
  if (start == std::string::npos) return "";
  if (line[start] == '"') {
    const size_t close = line.find('"', start + 1);
    return line.substr(start + 1, close == std::string::npos
                                      ? std::string::npos
                                      : close - start - 1);
  }
  const std::string field = line.substr(start, line.find(',', start) - start);
  const size_t last = field.find_last_not_of(' ');
  return last == std::string::npos ? "" : field.substr(0, last + 1);
}

// Modulo 65,536 computed on the double itself: converting a value outside
// the integer range first would be undefined. Finite doubles this large are
// multiples of 65,536, and infinity is treated as their limit.
uint16_t LowSixteenBits(double value) {
  if (!std::isfinite(value)) return 0;
  double rest = std::fmod(value, 65536.0);
  if (rest < 0) rest += 65536.0;
  return static_cast<uint16_t>(static_cast<uint32_t>(rest) & 0xFFFFu);
}

}  // namespace

uint16_t ObjectIdOf(const std::string& line) {
  return LowSixteenBits(std::nearbyint(ReadLenientNumber(FirstField(line))));
}

}  // namespace quarn
