#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "answer_builders.h"
#include "malformed_answers.h"

namespace ofu::devsim {
namespace {

const ClientIdBytes kClient{1, 2, 3, 4, 5, 6};
const DeviceKeyBytes kKey{0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 10, 77, 1, 10};

// The expected datagram, written with literal offsets so that it does not repeat the
// builders' own constants.
struct Expected {
    std::vector<std::uint8_t> bytes;
    explicit Expected(std::size_t size, std::uint8_t type) : bytes(size, 0) {
        bytes[0] = type;
        std::copy(kClient.begin(), kClient.end(), bytes.begin() + 1);
        std::copy(kKey.begin(), kKey.end(), bytes.begin() + 11);
    }
    Expected& text(std::size_t at, const std::string& t) {
        std::copy(t.begin(), t.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
        return *this;
    }
    Expected& byte(std::size_t at, std::uint8_t b) {
        bytes[at] = b;
        return *this;
    }
};

SearchAnswerFields Fields(std::uint8_t form) {
    SearchAnswerFields f;
    f.form = form;
    f.clientId = kClient;
    f.key = kKey;
    f.dhcpChar = '1';
    f.netmask = "255.255.255.0";
    f.gateway = "10.77.1.1";
    f.matchByte1 = 3;
    f.matchByte2 = 4;
    f.model = "OFN-420";
    f.name = "NAS1";
    return f;
}

TEST(AnswerBuilders, SearchAnswersAreByteExactInAllThreeForms) {
    const auto shortForm = Expected(64, 2).byte(21, '1').text(24, "255.255.255.0").text(40, "10.77.1.1")
                               .byte(56, 4).text(60, "NAS1").bytes;
    EXPECT_EQ(BuildSearchAnswer(Fields(2)), shortForm);

    const auto matched = Expected(76, 7).byte(21, '1').text(24, "255.255.255.0").text(40, "10.77.1.1")
                             .byte(56, 3).byte(57, 4).byte(68, 4).text(72, "NAS1").bytes;
    EXPECT_EQ(BuildSearchAnswer(Fields(7)), matched);

    const auto longForm = Expected(108, 8).byte(21, '1').text(24, "255.255.255.0").text(40, "10.77.1.1")
                              .byte(56, 3).byte(57, 4).text(68, "OFN-420").byte(100, 4).text(104, "NAS1").bytes;
    EXPECT_EQ(BuildSearchAnswer(Fields(8)), longForm);

    // The positional form builds the same datagram.
    EXPECT_EQ(BuildSearchAnswer(8, kClient, kKey, '1', "255.255.255.0", "10.77.1.1", 3, 4, "OFN-420", "NAS1"),
              longForm);
    EXPECT_TRUE(BuildSearchAnswer(Fields(5)).empty());
}

TEST(AnswerBuilders, FixedFieldsKeepTheirTerminatorAndNamesKeepTheirLength) {
    auto f = Fields(8);
    f.netmask = std::string(20, 'm');
    f.model = std::string(40, 'x');
    f.name = std::string(300, 'n');
    const auto bytes = BuildSearchAnswer(f);
    EXPECT_EQ(bytes[24 + 14], 'm');
    EXPECT_EQ(bytes[24 + 15], 0);
    EXPECT_EQ(bytes[68 + 30], 'x');
    EXPECT_EQ(bytes[68 + 31], 0);
    ASSERT_EQ(bytes.size(), 104u + 300u);
    EXPECT_EQ(GetU32(bytes, 100), 300u);
}

TEST(AnswerBuilders, QueryLoginAndSetAnswers) {
    EXPECT_EQ(BuildQueryAnswer(kClient, kKey, "HDD_a:USB1"), Expected(38, 4).byte(24, 10).text(28, "HDD_a:USB1").bytes);
    EXPECT_EQ(BuildQueryAnswer(kClient, kKey, ""), Expected(28, 4).bytes);
    EXPECT_EQ(BuildLoginAnswer(kClient, kKey, 1), Expected(29, 4).byte(24, 1).byte(28, 1).bytes);
    EXPECT_EQ(BuildLoginAnswer(kClient, kKey, 0), Expected(29, 4).byte(24, 1).bytes);
    EXPECT_EQ(BuildSetAnswer(kClient, kKey), Expected(24, 6).bytes);
}

TEST(MalformedAnswers, ShortAnswersEndInsideTheirLastReadField) {
    EXPECT_EQ(MakeShortAnswer(BuildSearchAnswer(Fields(2))).size(), 58u);
    EXPECT_EQ(MakeShortAnswer(BuildSearchAnswer(Fields(7))).size(), 70u);
    EXPECT_EQ(MakeShortAnswer(BuildSearchAnswer(Fields(8))).size(), 102u);
    EXPECT_EQ(MakeShortAnswer(BuildQueryAnswer(kClient, kKey, "x")).size(), 26u);
    EXPECT_EQ(MakeShortAnswer(BuildSetAnswer(kClient, kKey)).size(), 19u);
    const auto shortened = MakeShortAnswer(BuildSearchAnswer(Fields(8)));
    const auto full = BuildSearchAnswer(Fields(8));
    EXPECT_TRUE(std::equal(shortened.begin(), shortened.end(), full.begin()));
}

TEST(MalformedAnswers, BrokenSearchAnswers) {
    const auto unterminated = MakeUnterminatedSearchAnswer(Fields(8));
    for (const auto& [at, width] : {std::pair{24, 16}, {40, 16}, {68, 32}}) {
        EXPECT_EQ(std::count(unterminated.begin() + at, unterminated.begin() + at + width, 0), 0) << at;
    }
    EXPECT_EQ(unterminated[24], '2') << "the text itself stays in front";

    const auto longName = MakeLongNameSearchAnswer(Fields(2));
    EXPECT_EQ(GetU32(longName, 56), 300u);
    EXPECT_EQ(longName.size(), 360u);

    const auto beyond = MakeNameBeyondDatagramSearchAnswer(Fields(7));
    EXPECT_EQ(beyond.size(), 76u);
    EXPECT_EQ(GetU32(beyond, 68), 4u + 64u);

    // Only "short" applies to answers other than search answers.
    const auto set = BuildSetAnswer(kClient, kKey);
    EXPECT_TRUE(MakeMalformedAnswer(MalformedKind::kUnterminated, set, nullptr).empty());
    EXPECT_FALSE(MakeMalformedAnswer(MalformedKind::kShort, set, nullptr).empty());
}

}  // namespace
}  // namespace ofu::devsim
