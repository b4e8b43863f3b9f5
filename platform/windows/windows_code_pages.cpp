#include "platform/windows/windows_code_pages.h"

#include "platform/windows/windows_api.h"

#include <algorithm>

namespace ofu::platform {
namespace {

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
bool IsContinuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// UTF-8 to UTF-16 of a piece that the call can take whole.
std::u16string Widen(std::string_view utf8) {
    if (utf8.empty()) return {};
    const int size = static_cast<int>(utf8.size());
    const int units = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    if (units <= 0) return {};
    std::u16string wide(static_cast<std::size_t>(units), u'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, reinterpret_cast<wchar_t*>(wide.data()), units);
    return wide;
}

// UTF-16 to the code page; characters without an equivalent become its default character.
std::string Narrow(unsigned codePage, std::u16string_view utf16) {
    if (utf16.empty()) return {};
    const auto* units = reinterpret_cast<const wchar_t*>(utf16.data());
    const int size = static_cast<int>(utf16.size());
    const int bytes = ::WideCharToMultiByte(codePage, 0, units, size, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return {};
    std::string narrow(static_cast<std::size_t>(bytes), '\0');
    ::WideCharToMultiByte(codePage, 0, units, size, narrow.data(), bytes, nullptr, nullptr);
    return narrow;
}

// The first `at` bytes of `utf8`, or fewer, so that no sequence is cut: a sequence is a lead
// byte and at most three continuation bytes, so the cut goes back over at most three of them.
std::string_view CutBetweenSequences(std::string_view utf8, std::size_t at) {
    std::size_t cut = at;
    while (cut + 3 > at && cut > 0 && IsContinuation(utf8[cut])) --cut;
    return utf8.substr(0, IsContinuation(utf8[cut]) ? at : cut);
}

}  // namespace

std::u16string WindowsCodePages::Utf8ToUtf16(std::string_view utf8, std::size_t maxUnits) {
    // Every character takes at most four bytes and gives at least one unit, so a longer text
    // is cut first (which also keeps it within what one call takes).
    const std::size_t enough = std::min<std::size_t>(maxUnits, 0x10000000) * 4 + 4;
    if (utf8.size() > enough) utf8 = CutBetweenSequences(utf8, enough);
    std::u16string wide = Widen(utf8);
    if (wide.size() > maxUnits) {
        // A character that does not fit whole is left out.
        std::size_t keep = maxUnits;
        if (keep > 0 && IsHighSurrogate(wide[keep - 1]) && IsLowSurrogate(wide[keep])) --keep;
        wide.resize(keep);
    }
    return wide;
}

std::string WindowsCodePages::Utf16ToAnsi(std::u16string_view utf16, std::size_t maxBytes) {
    // Every character gives at least one byte and takes at most two units, so a longer text is
    // cut first; the characters before the cut give more than `maxBytes` already.
    utf16 = utf16.substr(0, std::min<std::size_t>(maxBytes, 0x10000000) * 2 + 2);
    std::string whole = Narrow(ansiCodePage_, utf16);
    if (whole.size() <= maxBytes) return whole;
    // Too long: character by character, so that none is cut between its bytes.
    std::string bounded;
    for (std::size_t at = 0; at < utf16.size();) {
        const bool pair = IsHighSurrogate(utf16[at]) && at + 1 < utf16.size() && IsLowSurrogate(utf16[at + 1]);
        const std::size_t length = pair ? 2 : 1;
        const std::string character = Narrow(ansiCodePage_, utf16.substr(at, length));
        if (bounded.size() + character.size() > maxBytes) break;
        bounded += character;
        at += length;
    }
    return bounded;
}

}  // namespace ofu::platform
