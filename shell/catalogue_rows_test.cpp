#include "shell/catalogue_rows.h"

#include <gtest/gtest.h>

#include <string>

namespace quarn {
namespace {

ModCatalogue CatalogueOf(int entries) {
  ModCatalogue catalogue;
  for (int i = 0; i < entries; ++i) {
    catalogue.Entries.push_back(
        ModEntry{"X" + std::to_string(i + 1), "mod " + std::to_string(i), 1});
  }
  catalogue.Present = entries > 0;
  return catalogue;
}

TEST(CatalogueRowsTest, RowsAndScrollBarAroundThirteenEntries) {
  EXPECT_EQ(0, VisibleRowCount(ModCatalogue()));
  EXPECT_FALSE(NeedsScrollBar(ModCatalogue()));
  const ModCatalogue thirteen = CatalogueOf(13);
  EXPECT_EQ(13, VisibleRowCount(thirteen));
  EXPECT_FALSE(NeedsScrollBar(thirteen));
  EXPECT_EQ(0, ScrolledTop(thirteen, 0, ScrollAction::kPageDown, 0));

  const ModCatalogue fourteen = CatalogueOf(14);
  EXPECT_EQ(13, VisibleRowCount(fourteen));
  EXPECT_TRUE(NeedsScrollBar(fourteen));
  EXPECT_EQ(1, HighestTop(fourteen));
  EXPECT_EQ(1, ScrolledTop(fourteen, 0, ScrollAction::kPageDown, 0));
  EXPECT_EQ("mod 13", RowAt(fourteen, 1, 12).text);
}

TEST(CatalogueRowsTest, EveryActionIsClampedToTheBarsRange) {
  const ModCatalogue forty = CatalogueOf(40);  // tops 0 to 27
  EXPECT_EQ(27, HighestTop(forty));
  EXPECT_EQ(12, ScrolledTop(forty, 0, ScrollAction::kPageDown, 0));
  EXPECT_EQ(24, ScrolledTop(forty, 12, ScrollAction::kPageDown, 0));
  EXPECT_EQ(27, ScrolledTop(forty, 24, ScrollAction::kPageDown, 0));
  EXPECT_EQ(15, ScrolledTop(forty, 27, ScrollAction::kPageUp, 0));
  EXPECT_EQ(0, ScrolledTop(forty, 5, ScrollAction::kPageUp, 0));
  EXPECT_EQ(6, ScrolledTop(forty, 5, ScrollAction::kLineDown, 0));
  EXPECT_EQ(27, ScrolledTop(forty, 27, ScrollAction::kLineDown, 0));
  EXPECT_EQ(0, ScrolledTop(forty, 0, ScrollAction::kLineUp, 0));
  EXPECT_EQ(20, ScrolledTop(forty, 3, ScrollAction::kThumbTrack, 20));
  EXPECT_EQ(27, ScrolledTop(forty, 3, ScrollAction::kThumbTrack, 99));
  EXPECT_EQ(3, ScrolledTop(forty, 3, ScrollAction::kOther, 20));
}

TEST(CatalogueRowsTest, TicksFollowTheScrolledRowsAndTheWholeList) {
  ModCatalogue catalogue = CatalogueOf(20);
  SetRowTicked(catalogue, 7, 0, false);
  EXPECT_EQ(0, catalogue.Entries[7].Selection);
  EXPECT_FALSE(RowAt(catalogue, 7, 0).ticked);
  EXPECT_EQ("mod 7", RowAt(catalogue, 7, 0).text);
  EXPECT_TRUE(RowAt(catalogue, 6, 0).ticked);

  ClearAll(catalogue);
  for (const ModEntry& entry : catalogue.Entries) EXPECT_EQ(0, entry.Selection);
  catalogue.Entries[19].Selection = 5;
  SelectAll(catalogue);  // with the list scrolled: rows out of view too
  for (const ModEntry& entry : catalogue.Entries) EXPECT_EQ(1, entry.Selection);
}

}  // namespace
}  // namespace quarn
