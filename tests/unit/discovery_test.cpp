#include "protocol/device_list.h"
#include "protocol/discovery.h"
#include "tests/support/crafted_answers.h"
#include "tests/support/protocol_fixture.h"

#include <gtest/gtest.h>

namespace ofu {
namespace {

using namespace ofu::testing;

// Time from the first send to the end of one address's polls when nothing arrives:
// two 50 ms pauses, 32 waits of 10 ms and 31 pauses of 20 ms.
constexpr std::int64_t kQuietAddressMicros = (100 + 32 * 10 + 31 * 20) * 1000;
constexpr std::int64_t kPollsStartMicros = 100'000;

class Discovery : public ProtocolTest {
protected:
    void SetUp() override {
        ProtocolTest::SetUp();
        StartTransport();
    }
    // Arrives on `slot` once polling on the first address has begun.
    void Arrive(int slot, std::vector<std::uint8_t> bytes, std::int64_t afterPollsStartMicros = 0) {
        const std::int64_t slotStart = slot * kQuietAddressMicros;
        network.deliverAt(slot, std::move(bytes), slotStart + kPollsStartMicros + afterPollsStartMicros);
    }
};

TEST_F(Discovery, QuietNetworkTakesTheFixedTimePerAddressAndListsNothing) {
    SearchDevices(3, 3);
    EXPECT_EQ(DeviceList.count(), 0);
    EXPECT_EQ(clock.nowMicros(), 2 * kQuietAddressMicros);
    ASSERT_EQ(network.sent().size(), 4u);
    EXPECT_EQ(network.sent()[0].atMicros, 0);
    EXPECT_EQ(network.sent()[1].atMicros, 50'000);
    EXPECT_EQ(network.sent()[2].slot, 1);
    EXPECT_EQ(network.sent()[2].atMicros, kQuietAddressMicros);
    EXPECT_EQ(network.sent()[0].bytes, network.sent()[1].bytes);
    EXPECT_EQ(network.sent()[0].bytes.size(), 11u);
    EXPECT_EQ(network.receiveCalls(0), 32);
}

TEST_F(Discovery, OneRecordPerAddressInOrderOfFirstAnswerLowerInterfaceWinning) {
    const auto nas1 = SearchAnswer(8, {10, 77, 1, 10}, "NAS1");
    Arrive(0, SearchAnswer(2, {10, 77, 1, 11}, "NAS2"));
    Arrive(0, nas1, 5'000);
    Arrive(0, nas1, 6'000);  // its answer to the second copy
    // The same device answering on the second address, and another device with the address
    // of a listed one.
    Arrive(1, nas1);
    auto impostor = SearchFields(7, {10, 77, 1, 11}, "IMPOSTOR");
    Arrive(1, devsim::BuildSearchAnswer(impostor), 1'000);
    Arrive(1, SearchAnswer(7, {10, 77, 2, 10}, "NAS3"), 2'000);

    SearchDevices(3, 3);
    ASSERT_EQ(DeviceList.count(), 3);
    EXPECT_EQ(DeviceList.at(0).name.view(), "NAS2");
    EXPECT_EQ(DeviceList.at(1).name.view(), "NAS1");
    EXPECT_EQ(DeviceList.at(1).interfaceIndex, 0);
    EXPECT_EQ(DeviceList.at(2).name.view(), "NAS3");
    EXPECT_EQ(DeviceList.at(2).interfaceIndex, 1);

    const DeviceRecord& nas = DeviceList.at(1);
    EXPECT_EQ(nas.ip.view(), "10.77.1.10");
    EXPECT_EQ(nas.netmask.view(), "255.255.255.0");
    EXPECT_EQ(nas.gateway.view(), "10.77.1.254");
    EXPECT_EQ(nas.dhcp.view(), "0");
    EXPECT_EQ(nas.model.view(), "NS-2300");
    EXPECT_EQ(nas.key.bytes, KeyFor({10, 77, 1, 10}));
    EXPECT_TRUE(DeviceList.at(0).model.empty());
    EXPECT_TRUE(DeviceList.at(2).model.empty());
}

class DiscoveryFilters : public Discovery {
protected:
    void ScheduleMixedAnswers() {
        const auto withMatch = [](std::uint8_t form, std::uint8_t b1, std::uint8_t b2, std::uint8_t last) {
            auto fields = SearchFields(form, {10, 77, 1, last}, "D" + std::to_string(last));
            fields.matchByte1 = b1;
            fields.matchByte2 = b2;
            return devsim::BuildSearchAnswer(fields);
        };
        Arrive(0, withMatch(7, 3, 3, 1));
        Arrive(0, withMatch(8, 3, 4, 2));
        Arrive(0, withMatch(8, 4, 3, 3));
        Arrive(0, SearchAnswer(2, {10, 77, 1, 4}, "D4"));  // no match bytes to test
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& record : DeviceList) names.push_back(record.name.str());
        return names;
    }
};

TEST_F(DiscoveryFilters, ThreeAndThreeKeepMatchingLongFormsAndEveryShortForm) {
    ScheduleMixedAnswers();
    SearchDevices(3, 3);
    EXPECT_EQ(Names(), (std::vector<std::string>{"D1", "D4"}));
}

TEST_F(DiscoveryFilters, ZeroAcceptsAnyMatchByte) {
    ScheduleMixedAnswers();
    SearchDevices(0, 0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"D1", "D2", "D3", "D4"}));
}

TEST_F(Discovery, ForeignAndOtherTrafficUsesUpPollsAndTheThirtyThirdIsNotRead) {
    for (int k = 0; k < 31; ++k) Arrive(0, ForeignCopy(SearchAnswer(8, {10, 77, 1, 50}, "OTHER")));
    Arrive(0, QueryAnswer({10, 77, 1, 51}, "x"));  // right run, wrong type: the 32nd poll
    Arrive(0, SearchAnswer(8, {10, 77, 1, 52}, "LATE"));
    Arrive(0, SearchAnswer(8, {10, 77, 1, 53}, "LATER"));
    SearchDevices(3, 3);
    EXPECT_EQ(DeviceList.count(), 0);
    EXPECT_EQ(network.pending(0), 2u);
    // A busy segment shortens the search: 32 polls with no waiting, 31 pauses.
    EXPECT_EQ(network.sent()[2].atMicros, (100 + 31 * 20) * 1000);
}

TEST_F(Discovery, ReceiveErrorsAreNotCountedButCannotHoldTheSearch) {
    for (int k = 0; k < 20; ++k) network.failReceiveAt(0, kPollsStartMicros);
    Arrive(0, SearchAnswer(2, {10, 77, 1, 9}, "AFTER-ERRORS"), 31 * 30'000);  // during the 32nd poll
    SearchDevices(3, 3);
    ASSERT_EQ(DeviceList.count(), 1);
    EXPECT_EQ(DeviceList.at(0).name.view(), "AFTER-ERRORS");

    // A steady stream of errors: the polls on that address end after twice their nominal time.
    for (std::int64_t t = 0; t < 5'000'000; t += 500) network.failReceiveAt(0, clock.nowMicros() + t);
    const std::int64_t start = clock.nowMicros();
    SearchDevices(3, 3);
    const std::int64_t pollsNominal = (32 * 10 + 31 * 20) * 1000;
    EXPECT_LE(clock.nowMicros() - start, 100'000 + 2 * pollsNominal + 1'000 + kQuietAddressMicros);
}

TEST_F(Discovery, ShortAndMalformedAnswersAreCutToTheRecordOrIgnored) {
    struct Case { std::uint8_t form; std::size_t nameOffset; };
    std::uint8_t last = 1;
    for (Case c : {Case{2, 60}, Case{7, 72}, Case{8, 104}}) {
        auto answer = SearchAnswer(c.form, {10, 77, 1, last++}, "");
        answer.resize(c.nameOffset - 1);  // one byte short of the name's offset: ignored
        Arrive(0, answer);
        answer.resize(c.nameOffset);  // empty name: listed
        answer[17 + 3] = last++;
        Arrive(0, answer);
    }
    auto fields = SearchFields(8, {10, 77, 1, 20}, std::string(300, 'N'));  // name of 300
    Arrive(0, devsim::BuildSearchAnswer(fields));
    auto beyond = SearchAnswer(2, {10, 77, 1, 21}, "SHORTNAME");
    beyond[56] = 200;  // claims 200 bytes, 9 received
    Arrive(0, beyond);
    auto negative = SearchAnswer(2, {10, 77, 1, 22}, "NEG");
    negative[56] = negative[57] = negative[58] = negative[59] = 0xFF;  // -1
    Arrive(0, negative);
    auto unterminated = SearchAnswer(8, {10, 77, 1, 23}, std::string("ZERO\0INSIDE", 11));
    std::fill(unterminated.begin() + 24, unterminated.begin() + 56, 'M');  // netmask and gateway
    std::fill(unterminated.begin() + 68, unterminated.begin() + 100, 'X');  // model
    Arrive(0, unterminated);

    SearchDevices(3, 3);
    ASSERT_EQ(DeviceList.count(), 7);
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(DeviceList.at(static_cast<std::size_t>(k)).name.empty());
    EXPECT_EQ(DeviceList.at(3).name.view(), std::string(255, 'N'));
    EXPECT_EQ(DeviceList.at(4).name.view(), "SHORTNAME");
    EXPECT_TRUE(DeviceList.at(5).name.empty());
    const DeviceRecord& cut = DeviceList.at(6);
    EXPECT_EQ(cut.name.view(), "ZERO");
    EXPECT_EQ(cut.netmask.view(), std::string(15, 'M'));
    EXPECT_EQ(cut.gateway.view(), std::string(15, 'M'));
    // An unterminated model ends with its 32-byte field, not in the name length after it.
    EXPECT_EQ(cut.model.view(), std::string(32, 'X'));
}

TEST_F(Discovery, EachSearchReplacesTheList) {
    Arrive(0, SearchAnswer(8, {10, 77, 1, 10}, "GONE-LATER"));
    SearchDevices(3, 3);
    ASSERT_EQ(DeviceList.count(), 1);
    SearchDevices(3, 3);
    EXPECT_EQ(DeviceList.count(), 0);
    EXPECT_FALSE(FindDeviceByAddress("10.77.1.10"));
}

}  // namespace
}  // namespace ofu
