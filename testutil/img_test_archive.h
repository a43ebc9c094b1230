// Small model archives for tests, written straight to disk so that the
// archive commands are tested against bytes they did not produce.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "img/img_directory.h"

namespace quarn {

/// One directory record as a test writes it. `name` fills the 24-byte name
/// field and is padded with NULs; it may hold bytes after a NUL, and 24
/// characters leave no NUL at all.
struct TestImgRecord {
  int32_t offset = 0;  ///< sectors
  int32_t size = 0;    ///< sectors
  std::string name;
};

/// The bytes of a directory file holding `records` in order.
std::string TestImgDirectoryBytes(const std::vector<TestImgRecord>& records);

/// Writes `game` + "models\gta3.dir" holding `records` and `game` +
/// "models\gta3.img" of `archive_bytes` bytes, every sector filled with a
/// byte of its own.
void WriteTestImg(const std::string& game,
                  const std::vector<TestImgRecord>& records,
                  int64_t archive_bytes);

/// Writes both files with an archive that ends exactly at the end of the
/// last record.
void WriteTestImg(const std::string& game,
                  const std::vector<TestImgRecord>& records);

/// The records `img` holds in memory, as the bytes a directory file of
/// them would have.
std::string HeldDirectoryBytes(const ImgDirectory& img);

}  // namespace quarn
