#include "undo/journal_entry.h"

#include <gtest/gtest.h>

namespace quarn {
namespace {

// Paths and names are the game's 8-bit text: every byte survives the entry
// file, and what is not an entry file is refused.
TEST(JournalEntry, EveryFieldSurvivesItsFileAndOtherTextIsRefused) {
  JournalEntry entry;
  entry.number = 12;
  entry.run = 11;
  entry.installer_dir = "C:\\Mods\\Vice City \x96 \xE9t\xE9\\";
  entry.mod_folder = "X2";
  entry.mod_name = "Caf\xE9 signs";
  entry.started = "2026-12-09 10:00:00";
  entry.end = EntryEnd::kAborted;
  entry.fingerprints.push_back(
      {"C:\\Games\\\xFF\\gta3.img", true, false, 0x20, 1u << 31, ~0ull});
  entry.fingerprints.push_back({"C:\\Games\\new", false, false, 0, 0, 0});
  JournalEntry read;
  ASSERT_TRUE(EntryFromText(EntryToText(entry), &read));
  EXPECT_EQ(EntryToText(entry), EntryToText(read));
  EXPECT_EQ(entry.installer_dir, read.installer_dir);
  EXPECT_EQ(entry.fingerprints[0], read.fingerprints[0]);
  EXPECT_EQ("X2 (Caf\xE9 signs)", EntryModLabel(read));

  for (const char* text :
       {"", "{}", "[1]", "{\"format\": 2}", "not json",
        "{\"format\":1,\"number\":1,\"run\":1,\"started\":\"\","
        "\"fingerprints\":[],\"ended\":\"exploded\",\"installer\":\"\","
        "\"mod_folder\":\"\",\"mod_name\":\"\"}"}) {
    EXPECT_FALSE(EntryFromText(text, &read)) << text;
  }
}

}  // namespace
}  // namespace quarn
