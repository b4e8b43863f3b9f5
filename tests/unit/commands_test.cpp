#include "protocol/commands.h"
#include "protocol/device_list.h"
#include "protocol/shared_texts.h"
#include "protocol/volume_list.h"
#include "tests/support/crafted_answers.h"
#include "tests/support/protocol_fixture.h"

#include <gtest/gtest.h>

#include <functional>

namespace ofu {
namespace {

using namespace ofu::testing;

constexpr Octets kTarget = {10, 77, 2, 10};
constexpr int kTargetSlot = 1;

class Commands : public ProtocolTest {
protected:
    void SetUp() override {
        ProtocolTest::SetUp();
        StartTransport();
        ListDevice(kTarget, kTargetSlot);
        ListDevice({10, 77, 2, 11}, kTargetSlot);
        TargetDeviceAddress = "10.77.2.10";
    }

    static void ListDevice(const Octets& address, int slot) {
        DeviceRecord record;
        record.ip = BytesToDottedQuad(address);
        record.netmask = "255.255.255.0";
        record.gateway = "10.77.2.1";
        record.dhcp = "0";
        record.key.bytes = KeyFor(address);
        record.interfaceIndex = slot;
        DeviceList.append(record);
    }

    // Answers every request of `opcode` with the datagrams `answers` returns, `delayMillis`
    // after the request was sent.
    void AnswerWith(std::uint8_t opcode, std::function<std::vector<Bytes>()> answers, int delayMillis = 30) {
        network.addResponder([this, opcode, answers, delayMillis](int slot, std::span<const std::uint8_t> request) {
            if (request.empty() || request[0] != opcode) return;
            for (auto& bytes : answers()) network.deliverAfter(slot, bytes, delayMillis);
        });
    }
    void AnswerQuery(std::string_view value) {
        AnswerWith(3, [value = std::string(value)] { return std::vector<Bytes>{QueryAnswer(kTarget, value)}; });
    }
};

struct CatalogueEntry {
    const char* name;
    int (*command)();
    int drainPolls;
    int answerPolls;
};

const CatalogueEntry kCatalogue[] = {
    {"Login", Login, 1, 11},  // its drain ends at the first wait that finds nothing
    {"QueryVolumes", QueryVolumes, 11, 21},
    {"QueryWorkgroup", QueryWorkgroup, 6, 11},
    {"QueryCodepage", QueryCodepage, 11, 11},
    {"QueryShareName", QueryShareName, 11, 21},
    {"QueryIdeOk", QueryIdeOk, 11, 21},
    {"QueryBtFirmware", QueryBtFirmware, 11, 21},
    {"QueryDomain", QueryDomain, 11, 21},
    {"QuerySsl", QuerySsl, 11, 21},
    {"SetStaticAddress", SetStaticAddress, 0, 101},
    {"EnableDhcp", EnableDhcp, 0, 101},
    {"SetParam5", SetParam5, 0, 11},
    {"SetWorkgroup", SetWorkgroup, 0, 11},
    {"SetCodepage", SetCodepage, 0, 11},
    {"SetAccessMode", SetAccessMode, 0, 11},
    {"SendInstallControl", SendInstallControl, 0, 11},
    {"SendAddOnName", SendAddOnName, 0, 11},
};

TEST_F(Commands, SilentDeviceCostsTheDrainAndTheAnswerPollsExactly) {
    NewDeviceAddress = "10.77.2.99";
    for (const CatalogueEntry& entry : kCatalogue) {
        SCOPED_TRACE(entry.name);
        const std::int64_t start = clock.nowMicros();
        const int receivesBefore = network.receiveCalls(kTargetSlot);
        const std::size_t sentBefore = network.sent().size();
        EXPECT_EQ(entry.command(), 0);
        EXPECT_EQ(network.receiveCalls(kTargetSlot) - receivesBefore, entry.drainPolls + entry.answerPolls);
        ASSERT_EQ(network.sent().size(), sentBefore + 1);
        const auto& request = network.sent().back();
        EXPECT_EQ(request.slot, kTargetSlot);
        EXPECT_EQ(request.atMicros - start, entry.drainPolls * 10'000);  // sent after the drain
        const std::int64_t nominal = (entry.drainPolls + entry.answerPolls) * 10 + (entry.answerPolls - 1) * 100;
        EXPECT_EQ(clock.nowMicros() - start, nominal * 1000);
    }
}

TEST_F(Commands, WithoutListedTargetNothingIsDrainedOrSent) {
    for (const char* target : {"", "10.77.2.12", "10.77.2.10."}) {
        TargetDeviceAddress = target;
        for (const CatalogueEntry& entry : kCatalogue) EXPECT_EQ(entry.command(), 0) << entry.name << " " << target;
    }
    EXPECT_TRUE(network.sent().empty());
    EXPECT_EQ(network.receiveCalls(kTargetSlot), 0);
    EXPECT_EQ(clock.nowMicros(), 0);
}

TEST_F(Commands, DrainThrowsAwayWhatWaitedBeforeTheRequest) {
    network.deliverAt(kTargetSlot, QueryAnswer(kTarget, "STALE"), 0);
    AnswerQuery("FRESH");
    ASSERT_EQ(QueryShareName(), 1);
    EXPECT_EQ(DeviceShareName.view(), "FRESH");
}

TEST_F(Commands, QueryValuesGoToTheirTextsCutToWidthAndToTheTrace) {
    struct Case { int (*command)(); std::uint8_t subcode; std::function<std::string()> text; std::string trace; std::size_t width; };
    const Case cases[] = {
        {QueryWorkgroup, 6, [] { return DeviceWorkgroup.str(); }, "workgroup", 32},
        {QueryCodepage, 9, [] { return DeviceCodepage.str(); }, "codepage", 76},
        {QueryShareName, 12, [] { return DeviceShareName.str(); }, "sharename", 16},
        {QueryIdeOk, 11, [] { return DeviceIdeOk.str(); }, "ideok", 8},
        {QueryBtFirmware, 15, [] { return DeviceBtFirmware.str(); }, "bt_firmware", 8},
        {QueryDomain, 18, [] { return DeviceDomain.str(); }, "domain", 128},
        {QuerySsl, 19, [] { return DeviceSslSetting.str(); }, "ssl", 8},
    };
    std::uint8_t askedSubcode = 0;
    network.addResponder([&](int slot, std::span<const std::uint8_t> request) {
        askedSubcode = request[21];
        network.deliverAfter(slot, QueryAnswer(kTarget, "value-" + std::to_string(request[21]) + std::string(200, 'v')), 15);
    });
    for (const Case& c : cases) {
        traces.clear();
        ASSERT_EQ(c.command(), 1) << c.trace;
        EXPECT_EQ(askedSubcode, c.subcode);
        const std::string value = c.text();
        const std::string sent = "value-" + std::to_string(c.subcode) + std::string(200, 'v');
        EXPECT_EQ(value, sent.substr(0, c.width - 1));  // cut to the text's width
        ASSERT_EQ(traces.size(), 1u);
        EXPECT_EQ(traces[0], c.trace + "=" + value + "\n");
    }
}

TEST_F(Commands, TraceLineShowsTheValuesControlCharactersAsQuestionMarks) {
    AnswerQuery("a\x1b]0;x\x07\nb\x7f");
    ASSERT_EQ(QueryDomain(), 1);
    EXPECT_EQ(DeviceDomain.view(), "a\x1b]0;x\x07\nb\x7f");  // the text keeps what the device sent
    ASSERT_EQ(traces.size(), 1u);
    EXPECT_EQ(traces[0], "domain=a?]0;x??b?\n");
}

TEST_F(Commands, ShortQueryAnswerHasAnEmptyValue) {
    AnswerWith(3, [] {
        auto answer = QueryAnswer(kTarget, "");
        answer.resize(24);
        return std::vector<Bytes>{answer};
    });
    DeviceCodepage = "old";
    ASSERT_EQ(QueryCodepage(), 1);
    EXPECT_EQ(DeviceCodepage.view(), "");
}

TEST_F(Commands, FailedQueryKeepsTheOldText) {
    DeviceCodepage = "850";
    EXPECT_EQ(QueryCodepage(), 0);
    EXPECT_EQ(DeviceCodepage.view(), "850");
    EXPECT_TRUE(traces.empty());
}

TEST_F(Commands, OtherTypesAndErrorsAreSkippedUncountedWhileOtherRunsAndDevicesUseUpPolls) {
    // 20 polls used up by answers from another run and another device, then the answer.
    AnswerWith(3, [] {
        std::vector<Bytes> answers;
        for (int k = 0; k < 10; ++k) answers.push_back(ForeignCopy(QueryAnswer(kTarget, "other run")));
        for (int k = 0; k < 10; ++k) answers.push_back(QueryAnswer({10, 77, 2, 11}, "other device"));
        for (int k = 0; k < 40; ++k) answers.push_back(SetAnswer(kTarget));  // another type
        return answers;
    }, 0);
    network.addResponder([this](int slot, std::span<const std::uint8_t>) {
        for (int k = 0; k < 40; ++k) network.failReceiveAt(slot, clock.nowMicros());
        network.deliverAfter(slot, QueryAnswer(kTarget, "HDD_a"), 20 * 100 + 5);  // in the 21st poll
    });
    ASSERT_EQ(QueryShareName(), 1);
    EXPECT_EQ(DeviceShareName.view(), "HDD_a");
}

TEST_F(Commands, TwentyOnePollsOfOtherDevicesEndTheQuery) {
    AnswerWith(3, [] {
        std::vector<Bytes> answers;
        for (int k = 0; k < 21; ++k) answers.push_back(QueryAnswer({10, 77, 2, 11}, "other device"));
        answers.push_back(QueryAnswer(kTarget, "too late"));
        return answers;
    }, 0);
    EXPECT_EQ(QueryShareName(), 0);
}

TEST_F(Commands, SteadyStreamOfSkippedDatagramsCannotHoldACommand) {
    network.addResponder([this](int slot, std::span<const std::uint8_t>) {
        for (int k = 0; k < 10'000; ++k) {
            network.deliverAfter(slot, SetAnswer(kTarget), k);  // wrong type, one per millisecond
            network.failReceiveAt(slot, clock.nowMicros() + k * 1000 + 500);
        }
    });
    const std::int64_t start = clock.nowMicros();
    EXPECT_EQ(QueryShareName(), 0);
    const std::int64_t nominal = (11 + 21) * 10 + 20 * 100;
    EXPECT_LE(clock.nowMicros() - start, 2 * nominal * 1000 + 1000);
}

TEST_F(Commands, VolumeQuerySplitsAtSeparatorsOnceEachAndEmptiesOnFailure) {
    AnswerQuery("::HDD_a:USB1::HDD_a:" + std::string(300, 'L') + ":");
    ASSERT_EQ(QueryVolumes(), 1);
    ASSERT_EQ(VolumeList.count(), 3);
    EXPECT_EQ(VolumeList.at(0).name.view(), "HDD_a");
    EXPECT_EQ(VolumeList.at(1).name.view(), "USB1");
    EXPECT_EQ(VolumeList.at(2).name.view(), std::string(255, 'L'));
    EXPECT_TRUE(traces.empty());

    TargetDeviceAddress = "10.77.2.11";  // silent
    EXPECT_EQ(QueryVolumes(), 0);
    EXPECT_EQ(VolumeList.count(), 0);
}

TEST_F(Commands, EmptyVolumeValueSucceedsWithEmptyList) {
    AnswerQuery("");
    EXPECT_EQ(QueryVolumes(), 1);
    EXPECT_EQ(VolumeList.count(), 0);
}

TEST_F(Commands, LoginReturnsTheResultByteAsSignedAndRefusalWhenItIsMissing) {
    std::uint8_t result = 0;
    bool cut = false;
    AnswerWith(3, [&] {
        auto answer = LoginAnswer(kTarget, result);
        if (cut) answer.resize(28);
        return std::vector<Bytes>{answer};
    });
    LoginUserName = "admin";
    for (std::uint8_t r : {0, 1, 7, 0xFF}) {
        result = r;
        EXPECT_EQ(Login(), static_cast<std::int8_t>(r)) << int(r);
    }
    cut = true;
    EXPECT_EQ(Login(), 0);
}

TEST_F(Commands, LoginThrowsAwayEverythingWaitingSoALateQueryAnswerCannotAcceptIt) {
    // A late answer to an earlier query ("HDD_1": its first byte would read as "accepted"),
    // behind more datagrams than a counted drain takes, then the device's refusal.
    network.deliverAt(kTargetSlot, QueryAnswer(kTarget, "HDD_1"), 0);
    for (int i = 0; i < 40; ++i) network.deliverAt(kTargetSlot, QueryAnswer({10, 77, 2, 11}, "other"), 0);
    AnswerWith(3, [] { return std::vector<Bytes>{LoginAnswer(kTarget, 0)}; });
    LoginUserName = "admin";
    LoginPassword = "wrong";
    EXPECT_EQ(Login(), 0);
    EXPECT_EQ(network.sent().back().atMicros, 10'000) << "one quiet wait after the waiting datagrams";
}

TEST_F(Commands, LoginDrainOfAStreamEndsWithinTheTimeOfElevenWaits) {
    for (int ms = 0; ms < 2000; ++ms) network.deliverAt(kTargetSlot, QueryAnswer({10, 77, 2, 11}, "x"), ms * 1000);
    LoginUserName = "admin";
    EXPECT_EQ(Login(), 0);
    EXPECT_EQ(network.sent().back().atMicros, 110'000);
}

TEST_F(Commands, StaticAddressWaitsForTheNewAddressAndMovesTheRecord) {
    NewDeviceAddress = "10.77.2.77";
    NewNetmask = "255.255.0.0";
    NewGateway = "10.77.0.1";
    AnswerWith(5, [] { return std::vector<Bytes>{SetAnswer(kTarget)}; });                // old address: no
    AnswerWith(5, [] { return std::vector<Bytes>{SetAnswer({10, 77, 2, 77})}; }, 500);  // new address
    ASSERT_EQ(SetStaticAddress(), 1);
    const auto& request = network.sent().back().bytes;
    EXPECT_EQ(std::string(request.begin() + 60, request.end()), "10.77.2.77");
    EXPECT_EQ(TargetDeviceAddress.view(), "10.77.2.77");
    const DeviceRecord& moved = DeviceList.at(0);
    EXPECT_EQ(moved.ip.view(), "10.77.2.77");
    EXPECT_EQ(moved.netmask.view(), "255.255.0.0");
    EXPECT_EQ(moved.gateway.view(), "10.77.0.1");
    EXPECT_EQ(moved.key.bytes, KeyFor({10, 77, 2, 77}));
    EXPECT_FALSE(FindDeviceByAddress("10.77.2.10"));
}

TEST_F(Commands, FailedStaticChangeChangesNothing) {
    NewDeviceAddress = "10.77.2.77";
    NewNetmask = "255.255.0.0";
    AnswerWith(5, [] { return std::vector<Bytes>{SetAnswer(kTarget)}; });
    EXPECT_EQ(SetStaticAddress(), 0);
    EXPECT_EQ(TargetDeviceAddress.view(), "10.77.2.10");
    EXPECT_EQ(DeviceList.at(0).netmask.view(), "255.255.255.0");
    EXPECT_EQ(DeviceList.at(0).key.bytes, KeyFor(kTarget));
}

TEST_F(Commands, DhcpTakesWhateverAddressTheAnswerCarriesAndKeepsMaskAndGateway) {
    AnswerWith(5, [] {
        auto tooShort = ForeignCopy(SetAnswer(kTarget));
        return std::vector<Bytes>{tooShort, SetAnswer({10, 0, 0, 7})};
    });
    ASSERT_EQ(EnableDhcp(), 1);
    EXPECT_EQ(network.sent().back().bytes.size(), 60u);
    EXPECT_EQ(TargetDeviceAddress.view(), "10.0.0.7");
    const DeviceRecord& moved = DeviceList.at(0);
    EXPECT_EQ(moved.ip.view(), "10.0.0.7");
    EXPECT_EQ(moved.netmask.view(), "255.255.255.0");
    EXPECT_EQ(moved.gateway.view(), "10.77.2.1");
    EXPECT_EQ(moved.key.bytes, KeyFor({10, 0, 0, 7}));
}

TEST_F(Commands, ConfigurationCommandsSendTheirPayloadAndNeedTheTargetsAnswer) {
    struct Case { int (*command)(); std::uint8_t subcode; std::function<void()> fill; std::string payload; };
    const Case cases[] = {
        {SetParam5, 5, [] { Param5Text = "p5"; }, "p5"},
        {SetWorkgroup, 7, [] { DeviceWorkgroup = "WORKGROUP"; }, "WORKGROUP"},
        {SetCodepage, 8, [] { DeviceCodepage = "850"; }, "850"},
        {SetAccessMode, 10, [] { AccessModeText = "rw"; }, "rw"},
        {SendInstallControl, 13, [] { InstallControlText = "stop"; }, "stop"},
        {SendAddOnName, 14, [] { AddOnNameText = "BT"; }, "BT"},
    };
    Octets answerFrom = kTarget;
    AnswerWith(5, [&] { return std::vector<Bytes>{SetAnswer(answerFrom)}; });
    for (const Case& c : cases) {
        c.fill();
        answerFrom = kTarget;
        EXPECT_EQ(c.command(), 1) << int(c.subcode);
        const auto& request = network.sent().back().bytes;
        EXPECT_EQ(request[21], c.subcode);
        EXPECT_EQ(std::string(request.begin() + 60, request.end()), c.payload);
        answerFrom = {10, 77, 2, 11};
        EXPECT_EQ(c.command(), 0) << int(c.subcode);
    }
}

}  // namespace
}  // namespace ofu
