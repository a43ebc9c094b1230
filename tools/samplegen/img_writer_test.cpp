#include "tools/samplegen/img_writer.h"

#include <gtest/gtest.h>

#include <set>

#include "testutil/test_files.h"
#include "tools/samplegen/game_reading_for_tests.h"

namespace quarn {
namespace {

std::string Record(uint32_t offset, uint32_t size, const std::string& field) {
  std::string record;
  for (uint32_t value : {offset, size}) {
    for (int i = 0; i < 4; ++i) record += static_cast<char>(value >> (8 * i));
  }
  return record + field;
}

TEST(ImgWriterTest, HandMadeEntriesLieBackToBackWithZeroPadding) {
  TempFolder folder;
  const std::string contents(2049, 'a');
  std::string error;
  ASSERT_TRUE(WriteImgArchive(NativePath(folder.path() + "models"),
                              {{"car.dff", contents, 0},
                               {"empty.txd", "", 0},
                               {"roomy.dff", "xy", 3},
                               {"exactly24characters.dffx", "z", 0}},
                              &error))
      << error;

  const std::string expected_dir =
      Record(0, 2, std::string("car.dff") + std::string(17, '\0')) +
      Record(2, 0, std::string("empty.txd") + std::string(15, '\0')) +
      Record(2, 3, std::string("roomy.dff") + std::string(15, '\0')) +
      Record(5, 1, "exactly24characters.dffx");
  EXPECT_EQ(expected_dir, ReadTestFile(folder.path() + "models\\gta3.dir"));

  const std::string expected_img = contents + std::string(2047, '\0') + "xy" +
                                   std::string(3 * 2048 - 2, '\0') + "z" +
                                   std::string(2047, '\0');
  EXPECT_EQ(expected_img, ReadTestFile(folder.path() + "models\\gta3.img"));
}

TEST(ImgWriterTest, NoEntriesGiveTwoEmptyFiles) {
  TempFolder folder;
  std::string error;
  ASSERT_TRUE(WriteImgArchive(NativePath(folder.path() + "m"), {}, &error));
  EXPECT_EQ("", ReadTestFile(folder.path() + "m\\gta3.img"));
  EXPECT_EQ("", ReadTestFile(folder.path() + "m\\gta3.dir"));
}

TEST(ImgWriterTest, PlanSharesTheSectorsOutExactly) {
  const std::vector<GeneratedImgEntry> plan =
      PlanGeneratedImg(500, 40u << 20, 7, 3);
  ASSERT_EQ(500u, plan.size());
  uint64_t sectors = 0;
  std::set<std::string> names;
  for (const GeneratedImgEntry& entry : plan) {
    EXPECT_GE(entry.sectors, 1u);
    EXPECT_LE(entry.name.size(), 23u);
    sectors += entry.sectors;
    names.insert(ToUpperAscii(entry.name));
  }
  EXPECT_EQ((40u << 20) / 2048, sectors);
  EXPECT_EQ(500u, names.size()) << "names must differ even ignoring case";

  // Too few bytes for the entries: every entry still gets its sector.
  uint64_t small = 0;
  for (const GeneratedImgEntry& entry : PlanGeneratedImg(10, 4096, 7, 3)) {
    EXPECT_EQ(1u, entry.sectors);
    small += entry.sectors;
  }
  EXPECT_EQ(10u, small);
  std::vector<uint32_t> sizes;
  std::vector<uint32_t> other_sizes;
  for (const GeneratedImgEntry& entry : plan) sizes.push_back(entry.sectors);
  for (const GeneratedImgEntry& entry :
       PlanGeneratedImg(500, 40u << 20, 8, 3)) {
    other_sizes.push_back(entry.sectors);
  }
  EXPECT_NE(sizes, other_sizes) << "another seed varies the sizes";
}

TEST(ImgWriterTest, GeneratedArchiveReadsBackEntryForEntry) {
  TempFolder folder;
  const std::vector<GeneratedImgEntry> plan =
      PlanGeneratedImg(60, 3u << 20, 11, 0);
  std::string error;
  ASSERT_TRUE(
      WriteGeneratedImg(NativePath(folder.path() + "models"), plan, &error))
      << error;
  const std::string dir = ReadTestFile(folder.path() + "models\\gta3.dir");
  const std::string img = ReadTestFile(folder.path() + "models\\gta3.img");
  ASSERT_EQ(60u * 32, dir.size());
  const std::vector<DirRecordForTest> records = DirRecordsForTest(dir);
  uint32_t next = 0;
  for (size_t i = 0; i < records.size(); ++i) {
    const DirRecordForTest& record = records[i];
    EXPECT_EQ(next, record.offset) << "entry " << i;
    EXPECT_EQ(plan[i].sectors, record.size);
    const std::string name = record.field.substr(0, record.field.find('\0'));
    EXPECT_EQ(plan[i].name, name);
    EXPECT_EQ(std::string(24 - name.size(), '\0'),
              record.field.substr(name.size()));
    const std::string bytes =
        img.substr(size_t{record.offset} * 2048, size_t{record.size} * 2048);
    EXPECT_EQ(GeneratedEntryBytes(static_cast<int>(i), plan[i]), bytes);
    // Every sector names its entry and its place, so moved data can be told.
    EXPECT_EQ(record.field, bytes.substr(0, 24));
    EXPECT_EQ(i, U32At(bytes, 24));
    EXPECT_EQ(record.size - 1, U32At(bytes, (record.size - 1) * 2048 + 28));
    next = record.offset + record.size;
  }
  EXPECT_EQ(size_t{next} * 2048, img.size());
  EXPECT_EQ((3u << 20), img.size());
}

}  // namespace
}  // namespace quarn
