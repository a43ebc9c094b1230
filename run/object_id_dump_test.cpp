#include "run/object_id_dump.h"

#include <gtest/gtest.h>

#include "testutil/script_run.h"

namespace quarn {
namespace {

ObjectIdRegistry WithIds(std::initializer_list<int> ids) {
  ObjectIdRegistry registry;
  for (int id : ids) registry.MarkUsed(static_cast<uint16_t>(id));
  return registry;
}

TEST(ObjectIdDumpTest, RunsBecomeRangesAndSingles) {
  EXPECT_EQ("1 - 3, 5, 7, 8", ObjectIdListText(WithIds({1, 2, 3, 5, 7, 8})));
  EXPECT_EQ("0", ObjectIdListText(WithIds({0})));
  EXPECT_EQ("", ObjectIdListText(WithIds({})));
}

TEST(ObjectIdDumpTest, ARunReachingTheLastIdHasItsOwnForm) {
  // The blank before it follows the item separator's own blank.
  EXPECT_EQ("10,  65534 - 65535",
            ObjectIdListText(WithIds({10, 65534, 65535})));
  EXPECT_EQ("65535 - 65535", ObjectIdListText(WithIds({65535})));
}

TEST(ObjectIdDumpTest, ALineBreaksAfterTheItemThatPassesEightyCharacters) {
  ObjectIdRegistry registry;
  for (int id = 1000; id < 1040; id += 2) registry.MarkUsed(id);
  // Each item "10xx, " is 6 characters: the 14th item ends at 84 > 80.
  std::string expected;
  for (int id = 1000; id < 1028; id += 2) expected += std::to_string(id) + ", ";
  expected += "\r\n";
  for (int id = 1028; id < 1040; id += 2) expected += std::to_string(id) + ", ";
  expected.resize(expected.size() - 2);
  EXPECT_EQ(expected, ObjectIdListText(registry));
}

TEST(ObjectIdDumpTest, DumpFileAndItsLogLine) {
  ScriptRun run;
  run.WriteScript("PRINT hi");
  run.context().DumpObjectIds = true;
  run.context().ObjectIds.MarkUsed(4);
  run.context().ObjectIds.MarkUsed(5);
  const std::string log = run.Run();
  EXPECT_NE(std::string::npos,
            log.find(" \r\nDumping object ID's from memory to disk... ok\r\n"));
  EXPECT_EQ("Memory object ID dump of used ID's\r\n4, 5\r\n",
            ReadTestFile(run.installer() + "ID dump.txt"));
}

TEST(ObjectIdDumpTest, AnUnwritableDumpIsReportedAndTheRunEnds) {
  ScriptRun run;
  run.WriteScript("PRINT hi");
  MakeTestFolder(run.installer() + "ID dump.txt");  // a folder in its place
  run.context().DumpObjectIds = true;
  const std::string log = run.Run();
  EXPECT_NE(std::string::npos,
            log.find("Dumping object ID's from memory to disk... Can't access "
                     "file\r\n"));
}

}  // namespace
}  // namespace quarn
