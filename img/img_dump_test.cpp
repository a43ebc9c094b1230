#include "img/img_dump.h"

#include <gtest/gtest.h>

#include <string>

namespace quarn {
namespace {

ImgEntry Entry(int32_t offset, int32_t size, const std::string& name) {
  ImgEntry entry;
  entry.SetOffset(offset);
  entry.SetSize(size);
  entry.SetName(name);
  return entry;
}

TEST(ImgDumpTest, EveryNumberHasASignPositionAndATrailingBlank) {
  const std::string line = DumpLine(0, Entry(0, 10, "a.dff"));
  EXPECT_EQ(" 0    0    10  20480   a.dff", line);
  EXPECT_EQ(28u, line.size());

  // Negative fields, a name filling its whole field, sizes past 2 GiB.
  ImgEntry full = Entry(-5, -1, "");
  const std::string name = "abcdefghijklmnopqrstuvwx";
  for (size_t i = 0; i < name.size(); ++i) full.bytes[8 + i] = name[i];
  EXPECT_EQ(" 3   -5   -1 -2048   abcdefghijklmnopqrstuvwx", DumpLine(3, full));
  EXPECT_EQ(" 12    7    1048576  2147483648   big.dff",
            DumpLine(12, Entry(7, 1048576, "big.dff")));
}

TEST(ImgDumpTest, TableHasAHeaderAndOneLinePerRecordHolesIncluded) {
  ImgEntry hole = Entry(2, 1, "gone.dff");
  hole.MarkDeleted();
  EXPECT_EQ(
      "Index Address Size Name\r\n"
      " 0    0    2  4096   a.dff\r\n"
      " 1    2    1  2048   \r\n",
      DumpText({Entry(0, 2, "a.dff"), hole}));
  EXPECT_EQ("Index Address Size Name\r\n", DumpText({}));
}

}  // namespace
}  // namespace quarn
