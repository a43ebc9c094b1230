#include "changes/content_facts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testutil/col_test_chunks.h"
#include "testutil/img_test_archive.h"

namespace quarn {
namespace {

// Each fact as its report line, for comparing lists whole.
std::vector<std::string> Lines(const std::vector<ChangeFact>& facts) {
  std::vector<std::string> lines;
  for (const ChangeFact& fact : facts) lines.push_back(FactLine(fact));
  return lines;
}

std::vector<std::string> Facts(const std::string& file,
                               const std::string& before,
                               const std::string& after,
                               const std::set<std::string>& written = {}) {
  return Lines(
      ContentFacts(AnalysedFileOf(file), file, before, after, written));
}

// Lines that only move are no change; a key with lines both gone and new
// is changed; comments, blank lines and the end marker are no entries.
TEST(ContentFactsTest, EntriesByTheirKeysInEveryListAndSectionFile) {
  EXPECT_EQ(std::vector<std::string>({
                "change  IDE entry objs 700 in maps\\a.ide",
                "add     IDE entry objs 701 in maps\\a.ide",
                "delete  IDE entry 2dfx 700 in maps\\a.ide",
            }),
            Facts("maps\\a.ide",
                  "objs\r\n600, old\r\n700, kiosk, 1\r\nend\r\n"
                  "2dfx\r\n700, 1, 2\r\nend\r\n",
                  "# moved and changed\r\nobjs\r\n700, kiosk, 2\r\n"
                  "701, sign\r\n600, old\r\nend\r\n"));
  EXPECT_EQ(std::vector<std::string>({
                "add     IPL entry inst 700, kiosk in maps\\a.IPL",
                "delete  IPL entry cull 1.0, 2.0 in maps\\a.IPL",
            }),
            Facts("maps\\a.IPL", "inst\n1, a, 0\nend\ncull\n1.0,2.0,3\nend\n",
                  "inst\n1, a, 0\n700 ,kiosk, 5\nend\ncull\nend\n"));
  EXPECT_EQ(std::vector<std::string>({
                "add     gta_vc.dat line IDE DATA\\K.IDE in data\\gta_vc.dat",
                "delete  gta_vc.dat line SPLASH loadsc2 in data\\gta_vc.dat",
            }),
            Facts("data\\gta_vc.dat", "# maps\r\nSPLASH loadsc2\r\nIMG X\r\n",
                  "IMG X\r\n\r\n# maps, again\r\nIDE DATA\\K.IDE\r\n"));
  EXPECT_EQ(std::vector<std::string>({
                "change  object.dat entry roof in data\\object.dat",
                "add     object.dat entry sign in data\\object.dat",
            }),
            Facts("data\\object.dat", "* header\r\nroof, 1.0\r\nbin, 2\r\n",
                  "roof, 9.0\r\nbin, 2\r\nsign\t3\r\n\r\n* ;end of file\r\n"));
  EXPECT_EQ(std::vector<std::string>({
                "change  COL model roof in c.col",
                "add     COL model sign in c.col",
                "delete  COL model bin in c.col",
            }),
            Facts("c.col", TestColModels({"roof", "bin", "hedge"}, 1),
                  TestColModel("hedge", 1) + TestColModel("roof", 2) +
                      TestColModel("sign", 1)));
  EXPECT_TRUE(Facts("readme.txt", "a", "b").empty());
}

// The directory tells which names are new and which are gone; a name in
// both was replaced when a mod's file was written under it, in any case.
TEST(ContentFactsTest, ArchiveEntriesByName) {
  const std::string before = TestImgDirectoryBytes(
      {{0, 1, "a.dff"}, {1, 1, "b.dff"}, {2, 1, "c.txd"}});
  const std::string after = TestImgDirectoryBytes(
      {{0, 1, "a.dff"}, {1, 1, "c.txd"}, {2, 1, "B.DFF"}, {3, 1, "n.dff"}});
  EXPECT_EQ(std::vector<std::string>({
                "replace archive entry B.DFF in models\\gta3.img",
                "add     archive entry n.dff in models\\gta3.img",
            }),
            Facts("models\\gta3.dir", before, after, {"B.DFF", "N.DFF"}));
  EXPECT_EQ(std::vector<std::string>({
                "remove  archive entry b.dff in models\\gta3.img",
            }),
            Facts("models\\GTA3.DIR", before,
                  TestImgDirectoryBytes({{0, 1, "a.dff"}, {2, 1, "c.txd"}})));
}

// IDs count over all the definition files a mod touched: one moved from a
// file to another stays claimed.
TEST(ContentFactsTest, ObjectIdsClaimedAndFreed) {
  const std::string a = "objs\r\n700, x\r\n701, y\r\nend\r\npath\r\n9, 1\r\n";
  const std::string b = "objs\r\n701, y\r\nend\r\ncars\r\n702, car\r\nend\r\n";
  std::vector<uint16_t> before = ClaimedObjectIds(a);
  std::vector<uint16_t> after = ClaimedObjectIds(b);
  EXPECT_EQ(std::vector<uint16_t>({700, 701}), before);
  EXPECT_EQ(std::vector<uint16_t>({701, 702}), after);
  EXPECT_EQ(std::vector<std::string>({
                "free    object ID 700",
                "claim   object ID 702",
            }),
            Lines(ObjectIdFacts(before, after)));
}

}  // namespace
}  // namespace quarn
