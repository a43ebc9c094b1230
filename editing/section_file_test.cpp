#include "editing/section_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quarn {
namespace {

// The reader's findings as text: "3:line" for a kept line, "[3]" for a
// header, so that a whole file's reading compares in one go.
std::vector<std::string> Read(const std::string& bytes) {
  std::vector<std::string> found;
  for (const SectionFileEntry& entry :
       ReadSectionFile(bytes, {"inst", "cull", "path", "pick"})) {
    const std::string section = std::to_string(entry.section);
    found.push_back(entry.kind == SectionFileEntry::kHeader
                        ? "[" + section + "]"
                        : section + ":" + entry.text);
  }
  return found;
}

TEST(SectionFileTest, ReadsOnlyTheLinesOfKnownSections) {
  EXPECT_EQ(std::vector<std::string>({"[0]", "0:a", "0:b  b", "[2]", "2:c",
                                      "2:PICK", "[3]", "3:\td", "[0]"}),
            Read("before\r\n"
                 "  INST  \r\n"
                 "a\n"
                 "# comment\r"
                 "   b  b   \r\n"
                 "\r\n"
                 " eNd \r\n"
                 "after the end\r\n"
                 "zone\r\n"
                 "z\r\n"
                 "end\r\n"
                 "inst\t\r\n"
                 "path\r\n"
                 "c\r\n"
                 "PICK\r\n"
                 "\td\r\n"
                 " # e\r\n"
                 "end\r\n"
                 "inst\r\n"
                 "end\x1a"
                 "pick\r\nlost\r\n"));
}

TEST(SectionFileTest, LinesReadAreCutAt999AndKeptAt499) {
  const std::string long_line(1200, 'x');
  const std::vector<SectionFileEntry> entries =
      ReadSectionFile("inst\r\n" + long_line + "\r\n", {"inst"});
  ASSERT_EQ(2u, entries.size());
  EXPECT_EQ(std::string(999, 'x'), entries[1].text);

  SectionList list(2);
  EXPECT_TRUE(list.Append(entries[1].text));
  EXPECT_EQ(std::vector<std::string>({std::string(499, 'x')}), list.lines());
}

TEST(SectionFileTest, DeletedLinesKeepTheirPlaceAndAreNeverWritten) {
  SectionList list(4);
  for (const char* line : {"10, a", "11, b", "1, c", "10, a"}) {
    EXPECT_TRUE(list.Append(line));
  }
  EXPECT_FALSE(list.Append("12, d"));
  EXPECT_EQ(std::vector<std::string>({"10, a", "10, a"}), list.Delete("10, a"));
  EXPECT_EQ(std::vector<std::string>(), list.Delete("10, a"));
  EXPECT_FALSE(list.Append("12, d"));
  EXPECT_EQ(std::vector<std::string>({"11, b", "1, c"}), list.Delete("1*"));
  EXPECT_EQ(std::vector<std::string>(), list.Delete("*"));

  const std::vector<std::string> one = {"12"};
  const std::vector<std::string> none;
  EXPECT_EQ("inst\r\nend\r\ncull\r\n12\r\nend\r\npick\r\nend\r\n",
            SectionFileBytes(
                {{"inst", &list.lines()}, {"cull", &one}, {"pick", &none}}));
  list.Clear();
  EXPECT_TRUE(list.Append("13, e"));
}

TEST(SectionFileTest, SearchesAreExactOrPrefixesCaseIncluded) {
  EXPECT_TRUE(SearchMatches("10, a", "10, a"));
  EXPECT_FALSE(SearchMatches("10, a", "10, A"));
  EXPECT_FALSE(SearchMatches("10, a", "10, ab"));
  EXPECT_TRUE(SearchMatches("10*", "10, a"));
  EXPECT_TRUE(SearchMatches("10, a*", "10, a"));
  EXPECT_FALSE(SearchMatches("10, ab*", "10, a"));
  EXPECT_TRUE(SearchMatches("a**", "a*b"));
  EXPECT_FALSE(SearchMatches("a*", ""));
  EXPECT_FALSE(IsValidSearch("*"));
  EXPECT_TRUE(IsValidSearch("**"));

  const std::vector<std::string> keywords = {"objs", "2dfx"};
  const SectionArgument named = SplitSectionArgument("2DfX 1, a", keywords);
  EXPECT_FALSE(named.all_sections);
  EXPECT_EQ(1u, named.section);
  EXPECT_EQ("1, a", named.text);
  for (const char* whole : {"objs", "objs1", "obj 1", "tobj 1"}) {
    const SectionArgument all = SplitSectionArgument(whole, keywords);
    EXPECT_TRUE(all.all_sections) << whole;
    EXPECT_EQ(whole, all.text);
  }
}

}  // namespace
}  // namespace quarn
