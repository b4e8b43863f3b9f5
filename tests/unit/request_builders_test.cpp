#include "protocol/messages.h"
#include "protocol/shared_texts.h"
#include "tests/support/protocol_fixture.h"

#include <gtest/gtest.h>

#include <array>

namespace ofu {
namespace {

using testing::Bytes;

class RequestBuilders : public testing::ProtocolTest {
protected:
    void SetUp() override {
        ProtocolTest::SetUp();
        ClientId = {0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0xF6};
        DeviceRecord record;
        record.ip = "10.77.1.20";
        record.key.bytes = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 10, 77, 1, 20};
        DeviceList.append(record);
        TargetDeviceAddress = "10.77.1.20";
    }

    Bytes Built(std::size_t length) const { return Bytes(buffer.begin(), buffer.begin() + static_cast<long>(length)); }
    // Everything after the request must stay untouched (zero).
    void ExpectNothingAfter(std::size_t length) const {
        for (std::size_t k = length; k < buffer.size(); ++k) ASSERT_EQ(buffer[k], 0) << "byte " << k;
    }

    std::array<std::uint8_t, 4096> buffer{};
    static constexpr std::uint8_t kDevicePart[] = {0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0xF6, 0, 0, 0, 0,
                                                   0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 10, 77, 1, 20};
    Bytes DevicePart(std::uint8_t opcode, std::uint8_t subcode) const {
        Bytes b{opcode};
        b.insert(b.end(), std::begin(kDevicePart), std::end(kDevicePart));
        b.insert(b.end(), {subcode, 0, 0});
        return b;
    }
};

TEST_F(RequestBuilders, SearchRequestIsElevenBytesOfHeader) {
    ASSERT_EQ(BuildSearchRequest(buffer), 11u);
    EXPECT_EQ(Built(11), (Bytes{1, 0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0xF6, 0, 0, 0, 0}));
    ExpectNothingAfter(11);
}

TEST_F(RequestBuilders, QueryRequestCarriesTargetKeySubcodeAndZeroLength) {
    ASSERT_EQ(BuildQueryRequest(buffer, 12), 28u);
    Bytes expected = DevicePart(3, 12);
    expected.insert(expected.end(), {0, 0, 0, 0});
    EXPECT_EQ(Built(28), expected);
    ExpectNothingAfter(28);
}

TEST_F(RequestBuilders, LoginRequestLaysOutNameSeparatorsAndPassword) {
    LoginUserName = "admin";
    ASSERT_EQ(BuildLoginRequest(buffer), 35u);
    Bytes expected = DevicePart(3, 4);
    expected.insert(expected.end(), {7, 0, 0, 0, 'a', 'd', 'm', 'i', 'n', 0x55, 0xAA});
    EXPECT_EQ(Built(35), expected);
    ExpectNothingAfter(35);

    buffer.fill(0);
    LoginUserName = "user";
    LoginPassword = "pw";
    ASSERT_EQ(BuildLoginRequest(buffer), 36u);
    expected = DevicePart(3, 4);
    expected.insert(expected.end(), {8, 0, 0, 0, 'u', 's', 'e', 'r', 0x55, 0xAA, 'p', 'w'});
    EXPECT_EQ(Built(36), expected);

    // Sixteen characters each is the most the texts hold; the request carries them whole.
    buffer.fill(0);
    LoginUserName = "ABCDEFGHIJKLMNOPQRST";
    LoginPassword = "abcdefghijklmnopqrst";
    ASSERT_EQ(BuildLoginRequest(buffer), 28u + 34u);
    EXPECT_EQ(buffer[24], 34);
    EXPECT_EQ(buffer[28 + 15], 'P');
    EXPECT_EQ(buffer[28 + 16], 0x55);
    EXPECT_EQ(buffer[30 + 16 + 15], 'p');
}

TEST_F(RequestBuilders, SetRequestCarriesBothAddressFieldsAndCountedPayload) {
    NewNetmask = "255.255.255.0";
    ASSERT_EQ(BuildSetRequest(buffer, 8, "850"), 63u);
    Bytes expected = DevicePart(5, 8);
    const std::string mask = "255.255.255.0";
    expected.insert(expected.end(), mask.begin(), mask.end());
    expected.resize(40, 0);       // netmask field padded to 16
    expected.resize(56, 0);       // empty gateway field
    expected.insert(expected.end(), {3, 0, 0, 0, '8', '5', '0'});
    EXPECT_EQ(Built(63), expected);
    ExpectNothingAfter(63);

    // A fifteen-character address fills its field up to the one zero byte left.
    buffer.fill(0);
    NewGateway = "192.168.100.254";
    ASSERT_EQ(BuildSetRequest(buffer, 1, "192.168.100.200"), 75u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&buffer[40]), 15), "192.168.100.254");
    EXPECT_EQ(buffer[55], 0);
    EXPECT_EQ(buffer[56], 15);
}

TEST_F(RequestBuilders, DhcpRequestIsSixtyBytesWithAddressFieldsZeroed) {
    NewNetmask = "255.255.255.0";
    NewGateway = "10.77.1.1";
    ASSERT_EQ(BuildDhcpRequest(buffer), 60u);
    Bytes expected = DevicePart(5, 2);
    expected.resize(60, 0);
    EXPECT_EQ(Built(60), expected);
}

TEST_F(RequestBuilders, DeviceRequestsNeedAnExactlyMatchingListedTarget) {
    for (const char* target : {"", "10.77.1.2", "10.77.1.20 ", "010.77.1.20"}) {
        TargetDeviceAddress = target;
        EXPECT_EQ(BuildQueryRequest(buffer, 3), 0u) << target;
        EXPECT_EQ(BuildLoginRequest(buffer), 0u) << target;
        EXPECT_EQ(BuildSetRequest(buffer, 8, "850"), 0u) << target;
        EXPECT_EQ(BuildDhcpRequest(buffer), 0u) << target;
    }
    ExpectNothingAfter(0);
}

TEST_F(RequestBuilders, ClientIdMatchComparesBytesOneToSixOnly) {
    Bytes answer{4, 0xA1, 0xB2, 0xC3, 0xD4, 0xE5, 0xF6, 9, 9, 9, 9};
    EXPECT_TRUE(MatchesClientId(answer));
    for (std::size_t k = 1; k <= 6; ++k) {
        Bytes other = answer;
        other[k] ^= 0x01;
        EXPECT_FALSE(MatchesClientId(other)) << "byte " << k;
    }
    EXPECT_FALSE(MatchesClientId(Bytes(answer.begin(), answer.begin() + 6)));  // cut short
}

TEST_F(RequestBuilders, AnswerAddressTextReadsBytesSeventeenToTwenty) {
    Bytes answer(21, 0);
    answer[17] = 10; answer[18] = 0; answer[19] = 0; answer[20] = 5;
    EXPECT_EQ(AnswerAddressText(answer)->view(), "10.0.0.5");
    answer[17] = 255; answer[18] = 255; answer[19] = 255; answer[20] = 255;
    EXPECT_EQ(AnswerAddressText(answer)->view(), "255.255.255.255");
    answer.resize(20);
    EXPECT_FALSE(AnswerAddressText(answer).has_value());
}

}  // namespace
}  // namespace ofu
