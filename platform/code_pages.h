// Conversions between UTF-8, UTF-16 and the workstation's ANSI code page, as the volume
// names need them: device names arrive as UTF-8 and are shown in the ANSI code page.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ofu::platform {

class CodePages {
public:
    virtual ~CodePages() = default;
    // UTF-8 to UTF-16, at most `maxUnits` units; malformed sequences become U+FFFD.
    virtual std::u16string Utf8ToUtf16(std::string_view utf8, std::size_t maxUnits) = 0;
    // UTF-16 to the ANSI code page, at most `maxBytes` bytes (never a partial character);
    // characters without an equivalent become the code page's default character.
    virtual std::string Utf16ToAnsi(std::u16string_view utf16, std::size_t maxBytes) = 0;
};

}  // namespace ofu::platform
