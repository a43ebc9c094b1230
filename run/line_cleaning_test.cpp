#include "run/line_cleaning.h"

#include <gtest/gtest.h>

namespace quarn {
namespace {

TEST(LineCleaningTest, CommentsBlanksAndTabs) {
  EXPECT_EQ("PRINT a b c", CleanScriptLine("  PRINT   a  b   c   ; note"));
  // A semicolon starts a comment even inside quotes.
  EXPECT_EQ("COPY \"a b\" TO \"c", CleanScriptLine("COPY \"a  b\" TO \"c;d\""));
  EXPECT_EQ("", CleanScriptLine("   ; only a comment"));
  EXPECT_EQ("", CleanScriptLine("      "));
  EXPECT_EQ("PRINT\ta", CleanScriptLine("PRINT\t\t\ta"));
  EXPECT_EQ("\tCLS", CleanScriptLine(" \tCLS "));  // tabs are not blanks
}

TEST(LineCleaningTest, NulAndCapacity) {
  EXPECT_EQ("CLS", CleanScriptLine(std::string("CLS\0 junk", 9)));
  const std::string long_line = "PRINT " + std::string(1000, 'x');
  EXPECT_EQ(899u, CleanScriptLine(long_line).size());
  // The cut comes before the trimming: blanks at position 899 are dropped.
  EXPECT_EQ("PRINT", CleanScriptLine("PRINT" + std::string(1000, ' ') + "x"));
}

}  // namespace
}  // namespace quarn
