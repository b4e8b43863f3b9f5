// Conversions between UTF-8, UTF-16 and an ANSI code page with MultiByteToWideChar and
// WideCharToMultiByte. The product converts to the workstation's ANSI code page; another
// code page can be chosen for a conversion of its own (932, 936 ...).
#pragma once

#include "platform/code_pages.h"

namespace ofu::platform {

class WindowsCodePages final : public CodePages {
public:
    // 0 is CP_ACP, the workstation's ANSI code page.
    explicit WindowsCodePages(unsigned ansiCodePage = 0) : ansiCodePage_(ansiCodePage) {}

    std::u16string Utf8ToUtf16(std::string_view utf8, std::size_t maxUnits) override;
    std::string Utf16ToAnsi(std::u16string_view utf16, std::size_t maxBytes) override;

private:
    unsigned ansiCodePage_;
};

}  // namespace ofu::platform
