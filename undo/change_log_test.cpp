#include "undo/change_log.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/file_contents.h"
#include "platform/memory_file_system.h"
#include "testutil/file_tree.h"

namespace quarn {
namespace {

const char kLog[] = "C:\\Journal\\log.bin";
const char kSource[] = "C:\\Journal\\source.bin";

std::string LogBytes(MemoryFileSystem& fs) {
  std::string bytes;
  ReadWholeFile(fs, kLog, &bytes);
  return bytes;
}

// Three records written and read back whole; then the log cut at every
// length, and one byte of it damaged at every place: what is read back is
// always the records that lie whole before the cut or the damage.
TEST(ChangeLog, ReadsBackWholeRecordsOnly) {
  MemoryFileSystem fs;
  MakeFoldersThrough(fs, "C:\\Journal");
  ASSERT_TRUE(WriteWholeFile(fs, kSource, "0123456789"));
  {
    ChangeLogWriter writer(fs.Open(kLog, OpenMode::kCreate, nullptr), kLog);
    std::unique_ptr<File> source = fs.Open(kSource, OpenMode::kRead, nullptr);
    ChangeRecord bytes{
        ChangeKind::kBytes, "C:\\G\\\xE9t\xE9.dat", false, 0, 3, 4, 0, {}};
    ChangeRecord created{
        ChangeKind::kCreated, "C:\\G\\new", true, 0, 0, 0, 0, {}};
    ChangeRecord moves{ChangeKind::kMoves,
                       "C:\\G\\gta3.img",
                       false,
                       0,
                       0,
                       0,
                       0,
                       {{4096, 0, 2048, 0x1234567890abcdefu}}};
    ASSERT_TRUE(writer.Append(bytes, source.get(), 3));
    ASSERT_TRUE(writer.Append(created, nullptr, 0));
    ASSERT_TRUE(writer.Append(moves, nullptr, 0));
    // A source too short leaves the log as it was.
    ChangeRecord too_long = bytes;
    too_long.data_length = 100;
    const uint64_t before = writer.length();
    EXPECT_FALSE(writer.Append(too_long, source.get(), 0));
    EXPECT_EQ(before, writer.length());
    ASSERT_TRUE(writer.Flush());
  }
  const std::string whole = LogBytes(fs);
  std::unique_ptr<File> log = fs.Open(kLog, OpenMode::kRead, nullptr);
  const std::vector<ChangeRecord> records = ReadChangeLog(*log);
  log.reset();
  ASSERT_EQ(3u, records.size());
  EXPECT_EQ("C:\\G\\\xE9t\xE9.dat", records[0].path);
  EXPECT_EQ(3u, records[0].offset);
  EXPECT_EQ("3456", whole.substr(records[0].data_at, 4));
  EXPECT_TRUE(records[1].folder);
  ASSERT_EQ(1u, records[2].pieces.size());
  EXPECT_EQ(0x1234567890abcdefu, records[2].pieces[0].hash);

  const size_t ends[] = {records[1].data_at - records[1].path.size() - 40,
                         records[2].data_at - records[2].path.size() - 40 - 32,
                         whole.size()};
  for (size_t cut = 0; cut <= whole.size(); ++cut) {
    for (bool damage : {false, true}) {
      std::string bytes = whole.substr(0, cut);
      if (damage && cut > 0) bytes[cut - 1] ^= 0x40;
      log.reset();
      ASSERT_TRUE(WriteWholeFile(fs, kLog, bytes));
      log = fs.Open(kLog, OpenMode::kRead, nullptr);
      size_t expected = 0;
      const size_t intact = damage && cut > 0 ? cut - 1 : cut;
      while (expected < 3 && ends[expected] <= intact) ++expected;
      EXPECT_EQ(expected, ReadChangeLog(*log).size())
          << "cut at " << cut << (damage ? ", last byte damaged" : "");
    }
  }
}

}  // namespace
}  // namespace quarn
