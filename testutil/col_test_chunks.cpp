#include "testutil/col_test_chunks.h"

namespace quarn {

std::string RawColChunk(uint32_t size, const std::string& rest) {
  std::string chunk = "COLL";
  for (int shift = 0; shift < 32; shift += 8) {
    chunk.push_back(static_cast<char>((size >> shift) & 0xFF));
  }
  return chunk + rest;
}

std::string TestColChunk(const std::string& name_field,
                         const std::string& body) {
  std::string field = name_field.substr(0, 24);
  field.resize(24, '\0');
  return RawColChunk(static_cast<uint32_t>(field.size() + body.size()),
                     field + body);
}

std::string TestColModel(const std::string& name, int tag) {
  const std::string seed = name + "|";
  std::string body;
  for (size_t i = 0; i < 40 + name.size(); ++i) {
    body.push_back(static_cast<char>(tag * 31 + i * 7 + seed[i % seed.size()]));
  }
  return TestColChunk(name, body);
}

std::string TestColModels(const std::vector<std::string>& names, int tag) {
  std::string bytes;
  for (const std::string& name : names) bytes += TestColModel(name, tag);
  return bytes;
}

}  // namespace quarn
