#include "tools/samplegen/col_writer.h"

#include <cstring>

#include "tools/samplegen/sample_random.h"

namespace quarn {
namespace {

void AppendU32(std::string* bytes, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) {
    bytes->push_back(static_cast<char>((value >> shift) & 0xFF));
  }
}

void AppendFloat(std::string* bytes, float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof(bits));
  AppendU32(bytes, bits);
}

void AppendVector(std::string* bytes, float x, float y, float z) {
  AppendFloat(bytes, x);
  AppendFloat(bytes, y);
  AppendFloat(bytes, z);
}

uint64_t NameHash(const std::string& name) {
  uint64_t hash = 1469598103934665603ull;
  for (unsigned char c : name) hash = (hash ^ c) * 1099511628211ull;
  return hash;
}

// Bounds, spheres, lines (none), boxes, vertices (none), faces (none).
std::string Body(SampleRandom& random) {
  const float half = static_cast<float>(random.Between(1, 40));
  const float height = static_cast<float>(random.Between(1, 20));
  std::string body;
  AppendFloat(&body, half * 1.5f);
  AppendVector(&body, 0, 0, height / 2);
  AppendVector(&body, -half, -half, 0);
  AppendVector(&body, half, half, height);
  AppendU32(&body, 1);
  AppendFloat(&body, half);
  AppendVector(&body, 0, 0, height / 2);
  AppendU32(&body, static_cast<uint32_t>(random.Between(0, 30)));
  AppendU32(&body, 0);
  const int boxes = random.Between(1, 3);
  AppendU32(&body, static_cast<uint32_t>(boxes));
  for (int i = 0; i < boxes; ++i) {
    const float inset = static_cast<float>(i);
    AppendVector(&body, -half + inset, -half + inset, 0);
    AppendVector(&body, half - inset, half - inset, height - inset);
    AppendU32(&body, static_cast<uint32_t>(random.Between(0, 30)));
  }
  AppendU32(&body, 0);
  AppendU32(&body, 0);
  return body;
}

}  // namespace

std::string ColChunk(const std::string& name, uint64_t seed) {
  SampleRandom random(NameHash(name) ^ (seed * 0x9E3779B97F4A7C15ull));
  std::string field = name.substr(0, 23);
  field.resize(24, '\0');
  const std::string rest = field + Body(random);
  std::string chunk = "COLL";
  AppendU32(&chunk, static_cast<uint32_t>(rest.size()));
  return chunk + rest;
}

std::string ColFileBytes(const std::vector<std::string>& names, uint64_t seed) {
  std::string bytes;
  for (const std::string& name : names) bytes += ColChunk(name, seed);
  return bytes;
}

}  // namespace quarn
