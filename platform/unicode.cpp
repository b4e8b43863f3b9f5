#include "platform/unicode.h"

namespace ofu::platform {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// One code point from `utf8` at `pos`; advances `pos` past what was consumed.
char32_t NextCodePoint(std::string_view utf8, std::size_t& pos) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(utf8[k]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    std::size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2; value = lead & 0x1F; minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3; value = lead & 0x0F; minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4; value = lead & 0x07; minimum = 0x10000;
    } else {
        ++pos;
        return kReplacement;
    }
    std::size_t k = 1;
    for (; k < length; ++k) {
        if (pos + k >= utf8.size() || (byte(pos + k) & 0xC0) != 0x80) break;
        value = (value << 6) | (byte(pos + k) & 0x3F);
    }
    if (k < length) {
        pos += k;  // a truncated sequence: replace what it consumed
        return kReplacement;
    }
    pos += length;
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return kReplacement;
    return value;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::size_t Utf8Length(char32_t c) { return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4; }

}  // namespace

std::u16string DecodeUtf8(std::string_view utf8, std::size_t maxUnits) {
    std::u16string out;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t c = NextCodePoint(utf8, pos);
        if (c >= 0x10000) {
            if (out.size() + 2 > maxUnits) break;
            const char32_t v = c - 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
        } else {
            if (out.size() + 1 > maxUnits) break;
            out.push_back(static_cast<char16_t>(c));
        }
    }
    return out;
}

std::string EncodeUtf8(std::u16string_view utf16, std::size_t maxBytes) {
    std::string out;
    for (std::size_t k = 0; k < utf16.size(); ++k) {
        char32_t c = utf16[k];
        if (c >= 0xD800 && c <= 0xDBFF && k + 1 < utf16.size() && utf16[k + 1] >= 0xDC00 && utf16[k + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (utf16[k + 1] - 0xDC00);
            ++k;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = kReplacement;
        }
        if (out.size() + Utf8Length(c) > maxBytes) break;
        AppendUtf8(out, c);
    }
    return out;
}

}  // namespace ofu::platform
