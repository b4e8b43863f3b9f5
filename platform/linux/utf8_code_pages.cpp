#include "platform/linux/utf8_code_pages.h"

#include "platform/unicode.h"

namespace ofu::platform {

std::u16string Utf8CodePages::Utf8ToUtf16(std::string_view utf8, std::size_t maxUnits) {
    return DecodeUtf8(utf8, maxUnits);
}

std::string Utf8CodePages::Utf16ToAnsi(std::u16string_view utf16, std::size_t maxBytes) {
    return EncodeUtf8(utf16, maxBytes);
}

}  // namespace ofu::platform
