// Finding the selected row of a list control as every device access handler does it: the scan
// starts at the list's first visible row, not at row 0, and goes to the last row; the first
// selected row found wins. A selected row scrolled above the visible part is not found.
#pragma once

#include "ui/dialog_surface.h"

namespace ofu {

// The selected row of list `listId`, scanning from `firstVisibleRow`; -1 when there is none.
int FindSelectedRow(const ui::DialogSurface& surface, int listId, int firstVisibleRow);

// The same, from the list's current first visible row.
int FindSelectedRow(const ui::DialogSurface& surface, int listId);

}  // namespace ofu
