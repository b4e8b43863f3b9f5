// Texts handed to the C calls of Windows, which read up to a terminating zero: a text with a
// zero inside would reach the call cut short and name another key, file or program, so it
// is refused instead.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ofu::platform::windows {

inline std::optional<std::string> ZeroTerminated(std::string_view text) {
    if (text.find('\0') != std::string_view::npos) return std::nullopt;
    return std::string(text);
}

}  // namespace ofu::platform::windows
