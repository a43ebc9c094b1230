#include "testutil/img_test_archive.h"

#include <algorithm>

#include "testutil/test_files.h"

namespace quarn {
namespace {

constexpr int64_t kSector = 2048;

void AppendLittleEndian32(std::string* bytes, int32_t signed_value) {
  const uint32_t value = static_cast<uint32_t>(signed_value);
  for (int i = 0; i < 4; ++i) {
    bytes->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  }
}

std::string ArchiveBytes(int64_t length) {
  std::string bytes(static_cast<size_t>(length), '\0');
  for (int64_t i = 0; i < length; ++i) {
    bytes[static_cast<size_t>(i)] = static_cast<char>('A' + (i / kSector) % 26);
  }
  return bytes;
}

}  // namespace

std::string TestImgDirectoryBytes(const std::vector<TestImgRecord>& records) {
  std::string bytes;
  for (const TestImgRecord& record : records) {
    AppendLittleEndian32(&bytes, record.offset);
    AppendLittleEndian32(&bytes, record.size);
    std::string field = record.name.substr(0, 24);
    field.resize(24, '\0');
    bytes += field;
  }
  return bytes;
}

void WriteTestImg(const std::string& game,
                  const std::vector<TestImgRecord>& records,
                  int64_t archive_bytes) {
  WriteTestFile(game + "models\\gta3.dir", TestImgDirectoryBytes(records));
  WriteTestFile(game + "models\\gta3.img", ArchiveBytes(archive_bytes));
}

void WriteTestImg(const std::string& game,
                  const std::vector<TestImgRecord>& records) {
  const int64_t end =
      records.empty()
          ? 0
          : (int64_t{records.back().offset} + records.back().size) * kSector;
  WriteTestImg(game, records, std::max<int64_t>(end, 0));
}

std::string HeldDirectoryBytes(const ImgDirectory& img) {
  std::string bytes;
  for (const ImgEntry& entry : img.Entries) {
    bytes.append(reinterpret_cast<const char*>(entry.bytes), kImgRecordSize);
  }
  return bytes;
}

}  // namespace quarn
