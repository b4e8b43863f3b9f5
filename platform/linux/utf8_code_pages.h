// The ANSI code page on Linux is UTF-8 (as the Qt front end assumes), so a UTF-16 text
// converts back to UTF-8 and only unpaired surrogates need the default character.
#pragma once

#include "platform/code_pages.h"

namespace ofu::platform {

class Utf8CodePages final : public CodePages {
public:
    std::u16string Utf8ToUtf16(std::string_view utf8, std::size_t maxUnits) override;
    std::string Utf16ToAnsi(std::u16string_view utf16, std::size_t maxBytes) override;
};

}  // namespace ofu::platform
