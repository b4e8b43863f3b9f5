// UTF-8 and UTF-16 conversions with the replacement rules the code page conversions need.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ofu::platform {

// Decodes UTF-8 into at most `maxUnits` UTF-16 units. Malformed or overlong sequences and
// encoded surrogates become U+FFFD; a character that would not fit whole is left out.
std::u16string DecodeUtf8(std::string_view utf8, std::size_t maxUnits);

// Encodes UTF-16 as UTF-8 in at most `maxBytes` bytes, never cutting a character. Unpaired
// surrogates become U+FFFD.
std::string EncodeUtf8(std::u16string_view utf16, std::size_t maxBytes);

}  // namespace ofu::platform
