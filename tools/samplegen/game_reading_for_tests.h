// Readers for the generated files, written from the file formats alone so
// that the generator's tests do not reuse the generator's own code.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "text/ascii.h"
#include "text/lines.h"

namespace quarn {

/// One 32-byte record of a gta3.dir file.
struct DirRecordForTest {
  uint32_t offset = 0;
  uint32_t size = 0;
  std::string field;  ///< all 24 bytes of the name field
};

/// A little-endian 32-bit number at `at` in `bytes`.
inline uint32_t U32At(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) {
    value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  }
  return value;
}

/// The records of a directory file's bytes (a trailing partial record is
/// ignored; tests check the length separately).
inline std::vector<DirRecordForTest> DirRecordsForTest(
    const std::string& bytes) {
  std::vector<DirRecordForTest> records;
  for (size_t at = 0; at + 32 <= bytes.size(); at += 32) {
    records.push_back(
        {U32At(bytes, at), U32At(bytes, at + 4), bytes.substr(at + 8, 24)});
  }
  return records;
}

/// `path` in lower case, as the generator spells the files on disk (the
/// lists name them in upper case, as the game's lists do).
inline std::string ToLowerForTest(std::string path) {
  for (char& c : path) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return path;
}

/// The object IDs an IDE file's lines claim, each with how often: the
/// lines of "objs", "tobj", "peds", "cars", "weap" and "hier" (comments,
/// empty lines and section headers excluded), by the number they begin
/// with.
inline std::map<int, int> IdeIdsForTest(const std::vector<std::string>& lines) {
  static const char* const kClaiming[] = {"OBJS", "TOBJ", "PEDS",
                                          "CARS", "WEAP", "HIER"};
  std::map<int, int> ids;
  bool claiming = false;
  bool in_section = false;
  for (const std::string& raw : lines) {
    const std::string line = TrimBlanks(raw);
    if (line.empty() || line[0] == '#') continue;
    const std::string upper = ToUpperAscii(line);
    if (upper == "END") {
      in_section = claiming = false;
      continue;
    }
    if (!in_section) {
      in_section = true;
      claiming = false;
      for (const char* keyword : kClaiming) claiming |= upper == keyword;
      continue;
    }
    if (claiming) ++ids[std::stoi(line)];
  }
  return ids;
}

}  // namespace quarn
