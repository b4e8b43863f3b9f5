#include "access/selected_row.h"

#include <algorithm>

namespace ofu {

int FindSelectedRow(const ui::DialogSurface& surface, int listId, int firstVisibleRow) {
    for (int row = std::max(firstVisibleRow, 0); row < surface.RowCount(listId); ++row)
        if (surface.IsRowSelected(listId, row)) return row;
    return -1;
}

int FindSelectedRow(const ui::DialogSurface& surface, int listId) {
    return FindSelectedRow(surface, listId, surface.FirstVisibleRow(listId));
}

}  // namespace ofu
