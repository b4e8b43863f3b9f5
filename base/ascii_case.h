// Comparing texts without regard to the case of ASCII letters, as _strcmpi does in the "C"
// locale: device names, share names, resource type names and language names.
#pragma once

#include <algorithm>
#include <string_view>

namespace ofu {

constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

}  // namespace ofu
