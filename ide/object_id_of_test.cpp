#include "ide/object_id_of.h"

#include <gtest/gtest.h>

#include <string>

namespace quarn {
namespace {

TEST(ObjectIdOf, TakesTheFirstFieldPlainOrQuoted) {
  EXPECT_EQ(1234, ObjectIdOf("1234, LODbuilding, generic, 1, 300, 0"));
  EXPECT_EQ(17, ObjectIdOf("   17 , name"));
  EXPECT_EQ(42, ObjectIdOf("42"));
  EXPECT_EQ(18, ObjectIdOf("\"18\", name"));
  // Inside quotes a comma does not end the field.
  EXPECT_EQ(12, ObjectIdOf("  \"12, 5\", name"));
  // A quote that is never closed takes the rest of the line.
  EXPECT_EQ(19, ObjectIdOf("\"19, name"));
  // Only blanks are skipped: a tab keeps the number from being read.
  EXPECT_EQ(0, ObjectIdOf("\t20, name"));
  EXPECT_EQ(0, ObjectIdOf("name, 21"));
  EXPECT_EQ(0, ObjectIdOf(", 22"));
  EXPECT_EQ(0, ObjectIdOf(""));
  EXPECT_EQ(0, ObjectIdOf("cars"));
  EXPECT_EQ(23, ObjectIdOf("23abc, name"));
}

TEST(ObjectIdOf, RoundsToTheNearestInteger) {
  EXPECT_EQ(3, ObjectIdOf("2.6, a"));
  EXPECT_EQ(2, ObjectIdOf("2.4, a"));
  EXPECT_EQ(2, ObjectIdOf("2.5, a"));  // ties go to the even neighbour
  EXPECT_EQ(4, ObjectIdOf("3.5, a"));
  EXPECT_EQ(300, ObjectIdOf("3e2, a"));
  EXPECT_EQ(65535, ObjectIdOf("-0.6, a"));
  EXPECT_EQ(0, ObjectIdOf("-0.4, a"));
}

TEST(ObjectIdOf, KeepsTheValueModulo65536) {
  EXPECT_EQ(65535, ObjectIdOf("-1, a"));
  EXPECT_EQ(65535, ObjectIdOf("65535, a"));
  EXPECT_EQ(0, ObjectIdOf("65536, a"));
  EXPECT_EQ(5, ObjectIdOf("65541, a"));
  EXPECT_EQ(65531, ObjectIdOf("-65541, a"));
  // Past every integer type the program has.
  EXPECT_EQ(1, ObjectIdOf("4294967297, a"));
  EXPECT_EQ(768, ObjectIdOf("1152921504606847744, a"));
  EXPECT_EQ(20480, ObjectIdOf("18446744073709572096, a"));
  EXPECT_EQ(61440, ObjectIdOf("-18446744073709555712, a"));
  EXPECT_EQ(0, ObjectIdOf("1e300, a"));
  EXPECT_EQ(0, ObjectIdOf("-1e300, a"));
  EXPECT_EQ(0, ObjectIdOf("1e999, a"));
  EXPECT_EQ(0, ObjectIdOf("-1e999, a"));
}

}  // namespace
}  // namespace quarn
