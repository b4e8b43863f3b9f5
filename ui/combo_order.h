// Where a sorting drop-down list puts a new item: after every item that does not sort after it,
// comparing without regard to letter case.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ofu::ui {

int SortedInsertIndex(const std::vector<std::string>& items, std::string_view text);

}  // namespace ofu::ui
