// What a language installation writes: for each entry of the Language dialog (its index is
// SelectedCodepageIndex), the codepage sent to the device and the payload files of each device
// family, in the order they are written.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace ofu {

struct CodepagePlan {
    std::string_view entry;         // "Traditional Chinese"
    std::string_view codepageName;  // "950"
    std::span<const std::uint16_t> familyOne;  // CODEPAGE payload ids for ".o" devices
    std::span<const std::uint16_t> familyTwo;  // and for ".ko" devices
};

// The nine entries in the Language dialog's order.
std::span<const CodepagePlan> CodepagePlans();

// The plan of index `index`, or nullptr outside 0 to 8.
const CodepagePlan* CodepagePlanAt(int index);

// The index of the entry whose codepage number or name is `language` ("950" or "Traditional
// Chinese", the name in any case), or -1.
int FindCodepagePlan(std::string_view language);

}  // namespace ofu
