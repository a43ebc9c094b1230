#include "text/lines.h"

#include <gtest/gtest.h>

#include "text/ascii.h"

namespace quarn {
namespace {

using Lines = std::vector<std::string>;

TEST(LinesTest, EveryLineEndTheProgramMeets) {
  EXPECT_EQ(Lines({"a", "b", "c"}), SplitLines("a\r\nb\rc\r\n"));
  // A lone LF ends a line too, so LF-only files keep their lines.
  EXPECT_EQ(Lines({"a", "b"}), SplitLines("a\nb\n"));
  EXPECT_EQ(Lines({"a", "", "b"}), SplitLines("a\r\n\r\nb"));
  EXPECT_EQ(Lines({"a", ""}), SplitLines("a\r\r\n"));
  EXPECT_EQ(Lines({"a", ""}), SplitLines("a\n\r"));
  EXPECT_EQ(Lines(), SplitLines(""));
}

TEST(LinesTest, CtrlZEndsTheFile) {
  EXPECT_EQ(Lines({"a", "b"}), SplitLines("a\r\nb\x1a\r\nc\r\n"));
  EXPECT_EQ(Lines({"a"}), SplitLines("a\r\n\x1a"));
}

TEST(LinesTest, NulEndsALineAndCapacityCutsIt) {
  EXPECT_EQ("ab", LineUpToNul(std::string("ab\0cd", 5), 10));
  EXPECT_EQ("abc", LineUpToNul("abcdef", 3));
}

TEST(LinesTest, JoinAndTrim) {
  EXPECT_EQ("a\r\n\r\nb\r\n", JoinLinesCrLf({"a", "", "b"}));
  EXPECT_EQ("a \t b", TrimBlanks("  a \t b  "));
  EXPECT_EQ("\ta", TrimBlanks(" \ta"));
  EXPECT_EQ("", TrimBlanks("   "));
}

TEST(AsciiTest, OnlyAToZChangeCase) {
  EXPECT_EQ("GTA_VC.DAT \xe9", ToUpperAscii("gta_vc.dat \xe9"));
  EXPECT_TRUE(EqualsIgnoringCase("Car.dff", "CAR.DFF"));
  EXPECT_FALSE(EqualsIgnoringCase("car.dff", "car.dff "));
  EXPECT_TRUE(StartsWithIgnoringCase("ide data\\x.ide", "IDE "));
  EXPECT_FALSE(StartsWithIgnoringCase("ide", "IDE "));
  EXPECT_EQ("abc", CutTo("abcdef", 3));
  EXPECT_EQ("def", FromCharacter("abcdef", 4));
  EXPECT_EQ("", FromCharacter("abc", 9));
  EXPECT_EQ("a\\", WithTrailingBackslash("a"));
  EXPECT_EQ("a\\", WithTrailingBackslash("a\\"));
}

}  // namespace
}  // namespace quarn
