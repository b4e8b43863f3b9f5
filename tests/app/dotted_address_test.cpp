#include "app/dotted_address.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <string>

namespace ofu {
namespace {

// The C library's inet_aton on the same text, first octet first.
bool LibraryParse(const std::string& text, AddressOctets& octets) {
    in_addr address{};
    if (::inet_aton(text.c_str(), &address) == 0) return false;
    const std::uint32_t host = ntohl(address.s_addr);
    octets = {static_cast<std::uint8_t>(host >> 24), static_cast<std::uint8_t>(host >> 16),
              static_cast<std::uint8_t>(host >> 8), static_cast<std::uint8_t>(host)};
    return true;
}

TEST(ParseDottedAddress, AgreesWithTheCLibrary) {
    const char* texts[] = {
        "10.77.1.10", "0.0.0.0", "255.255.255.255", "1", "4294967295", "4294967296", "1.2", "1.16777215",
        "1.16777216", "1.2.3", "1.2.65535", "1.2.65536", "1.2.3.4.5", "256.1.1.1", "1.256.1.1", "1.2.3.256",
        "0x0A.0x4d.1.0XfF", "012.0.0.01", "0x", "0x.1.2.3", "00", "1.2.3.4 ", "1.2.3.4\t", "", " 1.2.3.4",
        ".1.2.3", "1..2.3", "1.2.3.", "a.b.c.d", "1.2.3.4x", "0xFFFFFFFF", "0x100000000", "017777777777",
        "99999999999999999999", "1.2.3.04", "-1.2.3.4", "+1.2.3.4",
    };
    for (const char* text : texts) {
        AddressOctets ours{}, library{};
        const bool oursOk = ParseDottedAddress(text, &ours);
        const bool libraryOk = LibraryParse(text, library);
        EXPECT_EQ(oursOk, libraryOk) << '"' << text << '"';
        if (oursOk && libraryOk) {
            EXPECT_EQ(ours, library) << '"' << text << '"';
        }
    }
}

TEST(ParseDottedAddress, TakesDecimalDigitsInOctalAndOnlyWhiteSpaceAfterTheLastPart) {
    // The traditional rules, where some C libraries differ: 8 and 9 count in an octal part,
    // and nothing but white space may follow the address.
    AddressOctets octets{};
    ASSERT_TRUE(ParseDottedAddress("018.0.0.1", &octets));
    EXPECT_EQ(octets, (AddressOctets{16, 0, 0, 1}));  // octal "18": 1*8 + 8
    EXPECT_FALSE(ParseDottedAddress("1.2.3.4 junk"));
    EXPECT_TRUE(ParseDottedAddress("1.2.3.4 \t\n"));
}

TEST(InetAddr, GivesAllOnesForTextThatIsNoAddress) {
    EXPECT_EQ(InetAddr("NAS1"), (AddressOctets{255, 255, 255, 255}));
    EXPECT_EQ(InetAddr(""), (AddressOctets{255, 255, 255, 255}));
    EXPECT_EQ(InetAddr("192.168.0.1"), (AddressOctets{192, 168, 0, 1}));
}

}  // namespace
}  // namespace ofu
