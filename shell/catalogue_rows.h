// What the selection page's column of mod rows shows and how it scrolls:
// plain arithmetic over the catalogue, so the window only copies it to its
// check boxes and scroll bar.
#pragma once

#include <string>

#include "editing/mod_catalogue.h"

namespace quarn {

/// The page has at most this many check-box rows.
inline constexpr int kVisibleRows = 13;

/// A page step moves this many rows, so one row of the old page stays.
inline constexpr int kPageStep = 12;

/// What a scroll bar notification asks for.
enum class ScrollAction {
  kLineUp,
  kLineDown,
  kPageUp,
  kPageDown,
  kThumbTrack,  ///< the thumb is being dragged to a position
  kOther,       ///< released, top, bottom, end of scroll: no change
};

/// The catalogue's last index, -1 when it is empty.
int LastIndex(const ModCatalogue& catalogue);

/// How many rows the page shows: min(last index, 12) + 1, none without a
/// catalogue.
int VisibleRowCount(const ModCatalogue& catalogue);

/// True when the catalogue has more entries than rows, so the page needs
/// its scroll bar (range 0 to the last index, page size 13).
bool NeedsScrollBar(const ModCatalogue& catalogue);

/// The highest top the bar allows: last index - 12, at least 0.
int HighestTop(const ModCatalogue& catalogue);

/// The top after `action` (with the dragged `position` for kThumbTrack),
/// clamped to 0..HighestTop as the bar clamps it.
int ScrolledTop(const ModCatalogue& catalogue, int top, ScrollAction action,
                int position);

/// Text and tick of one visible row.
struct RowView {
  std::string text;  ///< the entry's display name
  bool ticked;       ///< the entry's selection is not 0
};

/// What visible row `row` shows while the first row shows entry `top`.
RowView RowAt(const ModCatalogue& catalogue, int top, int row);

/// A click on visible row `row`: the entry's selection becomes 1 or 0.
void SetRowTicked(ModCatalogue& catalogue, int top, int row, bool ticked);

/// Every entry's selection becomes 1 ("Select All"), hidden rows included.
void SelectAll(ModCatalogue& catalogue);

/// Every entry's selection becomes 0 ("Clear All"), hidden rows included.
void ClearAll(ModCatalogue& catalogue);

}  // namespace quarn
