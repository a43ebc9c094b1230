#include "undo/byte_ranges.h"

#include <gtest/gtest.h>

#include <string>

namespace quarn {
namespace {

std::string Text(const std::vector<ByteRange>& ranges) {
  std::string text;
  for (const ByteRange& range : ranges) {
    text += "[" + std::to_string(range.begin) + "," +
            std::to_string(range.end) + ")";
  }
  return text;
}

// Adding merges touching and overlapping ranges, removing splits them, and
// Missing gives exactly the gaps: what the journal must still save.
TEST(ByteRanges, AddRemoveAndMissingAgree) {
  ByteRanges set;
  set.Add(10, 20);
  set.Add(30, 40);
  set.Add(20, 25);  // touches the first
  set.Add(5, 5);    // empty
  EXPECT_EQ("[10,25)[30,40)", Text(set.Ranges()));
  EXPECT_EQ("[0,10)[25,30)[40,50)", Text(set.Missing(0, 50)));
  EXPECT_EQ("", Text(set.Missing(12, 24)));
  EXPECT_EQ("[25,30)", Text(set.Missing(24, 31)));
  set.Add(22, 35);  // bridges both
  EXPECT_EQ("[10,40)", Text(set.Ranges()));
  set.Remove(15, 18);
  set.Remove(38, 100);
  set.Remove(0, 11);
  EXPECT_EQ("[11,15)[18,38)", Text(set.Ranges()));
  EXPECT_EQ("[0,11)[15,18)[38,40)", Text(set.Missing(0, 40)));
  set.Remove(0, ~uint64_t{0});
  EXPECT_EQ("", Text(set.Ranges()));
}

}  // namespace
}  // namespace quarn
