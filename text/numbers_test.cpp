#include "text/numbers.h"

#include <gtest/gtest.h>

namespace quarn {
namespace {

TEST(NumbersTest, SignedFormatKeepsASignPosition) {
  EXPECT_EQ(" 0", FormatSigned(0));
  EXPECT_EQ(" 6000", FormatSigned(6000));
  EXPECT_EQ("-1", FormatSigned(-1));
  EXPECT_EQ("-9223372036854775808", FormatSigned(INT64_MIN));
}

TEST(NumbersTest, GroupedFormatPutsCommasBetweenThrees) {
  EXPECT_EQ("0", FormatGrouped(0));
  EXPECT_EQ("999", FormatGrouped(999));
  EXPECT_EQ("1,000", FormatGrouped(1000));
  EXPECT_EQ("336,240,640", FormatGrouped(336240640));
  EXPECT_EQ("-12,345", FormatGrouped(-12345));
}

TEST(NumbersTest, LenientReaderTakesWhatCanBeANumber) {
  EXPECT_EQ(0, ReadLenientNumber(""));
  EXPECT_EQ(0, ReadLenientNumber("abc"));
  EXPECT_EQ(0, ReadLenientNumber("-"));
  EXPECT_EQ(0, ReadLenientNumber(".x"));
  EXPECT_EQ(42, ReadLenientNumber("   42, foo"));
  EXPECT_EQ(-7.5, ReadLenientNumber("-7.5abc"));
  EXPECT_EQ(3, ReadLenientNumber("3."));
  EXPECT_EQ(0.25, ReadLenientNumber(".25"));
  EXPECT_EQ(1500, ReadLenientNumber("1.5e3x"));
  EXPECT_EQ(2, ReadLenientNumber("2e"));  // an exponent needs digits
  EXPECT_EQ(12, ReadLenientNumber("12 34"));
  EXPECT_EQ(0, ReadLenientNumber("\t5"));  // only blanks are skipped
}

}  // namespace
}  // namespace quarn
