#include "ui/combo_order.h"

#include <algorithm>
#include <cctype>

namespace ofu::ui {
namespace {

bool LessIgnoringCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](unsigned char x, unsigned char y) {
                                            return std::tolower(x) < std::tolower(y);
                                        });
}

}  // namespace

int SortedInsertIndex(const std::vector<std::string>& items, std::string_view text) {
    const auto at = std::upper_bound(
        items.begin(), items.end(), text,
        [](std::string_view value, const std::string& item) { return LessIgnoringCase(value, item); });
    return static_cast<int>(at - items.begin());
}

}  // namespace ofu::ui
