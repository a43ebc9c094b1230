#include "shell/catalogue_rows.h"

#include <algorithm>

namespace quarn {
namespace {

// The entry visible row `row` shows, or -1 past either end.
int IndexOf(const ModCatalogue& catalogue, int top, int row) {
  const int index = top + row;
  return index < 0 || index > LastIndex(catalogue) ? -1 : index;
}

void SetEverySelection(ModCatalogue& catalogue, int32_t selection) {
  for (ModEntry& entry : catalogue.Entries) entry.Selection = selection;
}

}  // namespace

int LastIndex(const ModCatalogue& catalogue) {
  return static_cast<int>(catalogue.Entries.size()) - 1;
}

int VisibleRowCount(const ModCatalogue& catalogue) {
  if (!catalogue.Present) return 0;
  return std::min(LastIndex(catalogue), kVisibleRows - 1) + 1;
}

bool NeedsScrollBar(const ModCatalogue& catalogue) {
  return catalogue.Present && LastIndex(catalogue) >= kVisibleRows;
}

int HighestTop(const ModCatalogue& catalogue) {
  return std::max(0, LastIndex(catalogue) - (kVisibleRows - 1));
}

int ScrolledTop(const ModCatalogue& catalogue, int top, ScrollAction action,
                int position) {
  int wanted = top;
  switch (action) {
    case ScrollAction::kLineUp:
      wanted = top - 1;
      break;
    case ScrollAction::kLineDown:
      wanted = top + 1;
      break;
    case ScrollAction::kPageUp:
      wanted = top - kPageStep;
      break;
    case ScrollAction::kPageDown:
      wanted = top + kPageStep;
      break;
    case ScrollAction::kThumbTrack:
      wanted = position;
      break;
    case ScrollAction::kOther:
      break;
  }
  return std::clamp(wanted, 0, HighestTop(catalogue));
}

RowView RowAt(const ModCatalogue& catalogue, int top, int row) {
  const int index = IndexOf(catalogue, top, row);
  if (index < 0) return RowView{"", false};
  const ModEntry& entry = catalogue.Entries[index];
  return RowView{entry.DisplayName, entry.Selection != 0};
}

void SetRowTicked(ModCatalogue& catalogue, int top, int row, bool ticked) {
  const int index = IndexOf(catalogue, top, row);
  if (index >= 0) catalogue.Entries[index].Selection = ticked ? 1 : 0;
}

void SelectAll(ModCatalogue& catalogue) { SetEverySelection(catalogue, 1); }

void ClearAll(ModCatalogue& catalogue) { SetEverySelection(catalogue, 0); }

}  // namespace quarn
