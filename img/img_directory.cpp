#include "img/img_directory.h"

#include <algorithm>
#include <cstring>

namespace quarn {
namespace {

int32_t ReadLittleEndian32(const uint8_t* p) {
  const uint32_t value =
      static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
      static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
  return static_cast<int32_t>(value);
}

void WriteLittleEndian32(uint8_t* p, int32_t signed_value) {
  const uint32_t value = static_cast<uint32_t>(signed_value);
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

int32_t ImgEntry::Offset() const { return ReadLittleEndian32(bytes); }

int32_t ImgEntry::Size() const { return ReadLittleEndian32(bytes + 4); }

std::string ImgEntry::Name() const {
  const char* field = reinterpret_cast<const char*>(bytes + 8);
  size_t length = 0;
  while (length < kImgNameFieldSize && field[length] != '\0') ++length;
  return std::string(field, length);
}

void ImgEntry::SetOffset(int32_t sectors) {
  WriteLittleEndian32(bytes, sectors);
}

void ImgEntry::SetSize(int32_t sectors) {
  WriteLittleEndian32(bytes + 4, sectors);
}

void ImgEntry::SetName(const std::string& name) {
  const size_t length = std::min(name.size(), kImgNameFieldSize - 1);
  std::memcpy(bytes + 8, name.data(), length);
  bytes[8 + length] = 0;
}

std::vector<ImgEntry> ImgRecordsOf(const std::string& bytes) {
  std::vector<ImgEntry> entries(bytes.size() / kImgRecordSize);
  for (size_t i = 0; i < entries.size(); ++i) {
    std::memcpy(entries[i].bytes, bytes.data() + i * kImgRecordSize,
                kImgRecordSize);
  }
  return entries;
}

bool ReadImgRecords(File& dir, size_t count, std::vector<ImgEntry>* entries) {
  std::vector<uint8_t> bytes(count * kImgRecordSize);
  size_t got = 0;
  if (count > 0 && !dir.ReadAt(0, bytes.data(), bytes.size(), &got)) {
    return false;
  }
  if (got != bytes.size()) return false;
  entries->resize(count);
  for (size_t i = 0; i < count; ++i) {
    std::memcpy((*entries)[i].bytes, &bytes[i * kImgRecordSize],
                kImgRecordSize);
  }
  return true;
}

void ImgDirectory::CloseFiles() {
  DirFile.reset();
  ImgFile.reset();
}

}  // namespace quarn
