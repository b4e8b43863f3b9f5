// The dotted-address parser of the main window, checked against the C library's inet_aton
// wherever their rules agree, and against the strict parsers of the protocol and the
// simulator on the plain dotted quads that all of them read.
//
// Where the rules differ, and the comparison is left out:
// - a zero byte: the C function stops there, the parser reads the whole text;
// - an octal part holding 8 or 9 ("08"): the parser takes decimal digits in every base, as
//   the BSD rules do, while glibc's inet_aton (strtoul) ends the part there and fails;
// - text after white space ("1.2.3.4 x"): glibc stops at the first white space and ignores
//   the rest, while the parser allows only white space after the last part.
#include "app/dotted_address.h"
#include "fuzz/support/fuzz_input.h"
#include "protocol/device_list.h"
#include "tools/devsim/dotted_address.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

namespace {

bool IsCSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// An octal part (a leading 0 not followed by x or X) with the digit 8 or 9 among its digits.
bool HasOctalPartWithEightOrNine(std::string_view text) {
    for (std::size_t k = 0; k < text.size(); ++k) {
        const bool partStart = k == 0 || text[k - 1] == '.';
        if (!partStart || text[k] != '0') continue;
        if (k + 1 < text.size() && (text[k + 1] == 'x' || text[k + 1] == 'X')) continue;
        for (std::size_t d = k + 1; d < text.size() && IsDigit(text[d]); ++d)
            if (text[d] == '8' || text[d] == '9') return true;
    }
    return false;
}

bool SpaceBeforeOtherText(std::string_view text) {
    const std::size_t space = std::find_if(text.begin(), text.end(), IsCSpace) - text.begin();
    return std::any_of(text.begin() + static_cast<std::ptrdiff_t>(std::min(space, text.size())), text.end(),
                       [](char c) { return !IsCSpace(c); });
}

bool RulesAgreeOn(std::string_view text) {
    return text.find('\0') == std::string_view::npos && !HasOctalPartWithEightOrNine(text) &&
           !SpaceBeforeOtherText(text);
}

// Four decimal parts of one to three digits, no leading zeros, nothing else.
bool IsPlainQuad(std::string_view text, const ofu::AddressOctets& octets) {
    return ofu::BytesToDottedQuad(octets) == text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = ofu::fuzz::AsText({data, size});
    ofu::AddressOctets ours{};
    const bool oursOk = ofu::ParseDottedAddress(text, &ours);
    OFU_FUZZ_CHECK(ofu::InetAddr(text) == (oursOk ? ours : ofu::AddressOctets{255, 255, 255, 255}));

    if (RulesAgreeOn(text)) {
        const std::string terminated(text);
        in_addr theirs{};
        const bool theirsOk = inet_aton(terminated.c_str(), &theirs) != 0;
        if (oursOk != theirsOk) {
            std::fprintf(stderr, "\"%s\": ParseDottedAddress %s, inet_aton %s\n", terminated.c_str(),
                         oursOk ? "accepts" : "refuses", theirsOk ? "accepts" : "refuses");
        }
        OFU_FUZZ_CHECK(oursOk == theirsOk);
        if (theirsOk) OFU_FUZZ_CHECK(std::memcmp(&theirs.s_addr, ours.data(), 4) == 0);
    }

    // The strict readers accept only plain quads, and read them as every other reader does.
    if (const auto strict = ofu::devsim::ParseDottedAddress(text)) {
        OFU_FUZZ_CHECK(oursOk && ours == *strict && IsPlainQuad(text, ours));
    }
    std::array<std::uint8_t, 4> quad{};
    if (ofu::DottedQuadToBytes(text, quad) && IsPlainQuad(text, quad)) {
        OFU_FUZZ_CHECK(oursOk && ours == quad);
        OFU_FUZZ_CHECK(ofu::devsim::ParseDottedAddress(text) == std::optional<ofu::devsim::Ipv4Bytes>(quad));
    }
    return 0;
}
