#include <gtest/gtest.h>

#include <algorithm>

#include "request_bytes.h"
#include "sim_device.h"

namespace ofu::devsim {
namespace {

using test::DhcpRequest;
using test::kClient;
using test::LoginRequest;
using test::QueryRequest;
using test::SearchRequest;
using test::SetRequest;

DeviceConfig Nas1() {
    DeviceConfig c;
    c.name = "NAS1";
    c.ip = "10.77.1.10";
    c.gateway = "10.77.1.1";
    c.deviceId = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55};
    c.answerForm = 8;
    c.model = "OFN-420";
    c.volumes = {"HDD_a", "USB1"};
    c.adminPassword = "secret1";
    c.dhcpAddress = "10.77.1.60";
    return c;
}

DeviceKeyBytes KeyOf(const std::string& address) {
    return MakeDeviceKey({0x00, 0x11, 0x22, 0x33, 0x44, 0x55}, *ParseDottedAddress(address));
}

std::string ValueOf(const SimAnswer& answer) {
    return std::string(answer.bytes.begin() + 28, answer.bytes.end());
}

const nlohmann::json& LastIn(const Journal& journal) {
    for (auto it = journal.entries().rbegin(); it != journal.entries().rend(); ++it) {
        if ((*it)["dir"] == "in") return *it;
    }
    static const nlohmann::json none;
    return none;
}

TEST(SimDevice, SearchAnswerEchoesTheClientAndCarriesTheCurrentKey) {
    SimDevice device(Nas1());
    const ClientIdBytes other{9, 9, 9, 9, 9, 9};
    const auto answers = device.handle(SearchRequest(other));
    ASSERT_EQ(answers.size(), 1u);
    const auto expected = BuildSearchAnswer(8, other, KeyOf("10.77.1.10"), '0', "255.255.255.0", "10.77.1.1", 3, 3,
                                            "OFN-420", "NAS1");
    EXPECT_EQ(answers[0].bytes, expected);
    EXPECT_TRUE(answers[0].toGroup);

    DeviceConfig unicast = Nas1();
    unicast.answerTo = AnswerDestination::kUnicast;
    EXPECT_FALSE(SimDevice(unicast).handle(SearchRequest())[0].toGroup);
}

TEST(SimDevice, QueriesAreAnsweredOnlyForTheDevicesOwnKey) {
    Journal journal;
    SimDevice device(Nas1(), &journal);
    const auto answers = device.handle(QueryRequest(KeyOf("10.77.1.10"), 3));
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].bytes, BuildQueryAnswer(kClient, KeyOf("10.77.1.10"), "HDD_a:USB1"));

    // Same id, other address; and same address, other id.
    EXPECT_TRUE(device.handle(QueryRequest(KeyOf("10.77.1.11"), 3)).empty());
    auto otherId = KeyOf("10.77.1.10");
    otherId[5] ^= 1;
    EXPECT_TRUE(device.handle(QueryRequest(otherId, 3)).empty());
    EXPECT_EQ(LastIn(journal)["status"], "not_for_me");

    const std::pair<std::uint8_t, std::string> values[] = {
        {6, "WORKGROUP"}, {9, "850"}, {11, "1"}, {12, "HDD_a"}, {15, "1"}, {18, ""}, {19, "0"}};
    for (const auto& [subcode, value] : values) {
        const auto a = device.handle(QueryRequest(KeyOf("10.77.1.10"), subcode));
        ASSERT_EQ(a.size(), 1u) << int(subcode);
        EXPECT_EQ(ValueOf(a[0]), value) << int(subcode);
    }
    EXPECT_TRUE(device.handle(QueryRequest(KeyOf("10.77.1.10"), 7)).empty());
    EXPECT_EQ(LastIn(journal)["status"], "ignored");
}

TEST(SimDevice, LoginAcceptsOnlyAdminWithTheRightPassword) {
    Journal journal;
    SimDevice device(Nas1(), &journal);
    const auto key = KeyOf("10.77.1.10");
    auto resultOf = [&](const std::vector<std::uint8_t>& request) {
        const auto answers = device.handle(request);
        return answers.size() == 1 && answers[0].bytes.size() == 29 ? int(answers[0].bytes[28]) : -1;
    };
    EXPECT_EQ(resultOf(LoginRequest(key, "admin", "secret1")), 1);
    EXPECT_EQ(LastIn(journal)["user"], "admin");
    EXPECT_EQ(LastIn(journal)["password_ok"], true);
    EXPECT_EQ(resultOf(LoginRequest(key, "admin", "")), 0);
    EXPECT_EQ(LastIn(journal)["password_ok"], false);
    EXPECT_EQ(resultOf(LoginRequest(key, "Admin", "secret1")), 0);
    EXPECT_EQ(resultOf(LoginRequest(key, "admin", "secret1x")), 0);

    DeviceConfig open = Nas1();
    open.adminPassword = "";
    EXPECT_EQ(SimDevice(open).handle(LoginRequest(key, "admin", ""))[0].bytes[28], 1);
    // The separator bytes may appear in the password: the first pair splits.
    open.adminPassword = std::string("a\x55\xAA", 3);
    EXPECT_EQ(SimDevice(open).handle(LoginRequest(key, "admin", open.adminPassword))[0].bytes[28], 1);
}

TEST(SimDevice, MalformedLoginLengthsAreIgnoredAndJournalled) {
    Journal journal;
    SimDevice device(Nas1(), &journal);
    const auto key = KeyOf("10.77.1.10");
    auto good = LoginRequest(key, "admin", "secret1");

    auto setLength = [](std::vector<std::uint8_t> r, std::uint32_t length) {
        for (int i = 0; i < 4; ++i) r[24 + i] = static_cast<std::uint8_t>(length >> (8 * i));
        return r;
    };
    EXPECT_TRUE(device.handle(setLength(good, 15)).empty()) << "one byte beyond the datagram";
    EXPECT_EQ(LastIn(journal)["status"], "ignored");
    EXPECT_TRUE(device.handle(setLength(good, 0xFFFFFFFFu)).empty()) << "a length that would wrap";
    EXPECT_TRUE(device.handle(setLength(good, 5)).empty()) << "separator outside the counted bytes";
    EXPECT_TRUE(device.handle(setLength(good, 0)).empty());
    good.pop_back();
    EXPECT_TRUE(device.handle(good).empty()) << "datagram cut short";

    // Bytes after the counted length don't matter.
    auto trailing = LoginRequest(key, "admin", "secret1");
    trailing.push_back('z');
    EXPECT_EQ(device.handle(trailing)[0].bytes[28], 1);
}

TEST(SimDevice, EveryTruncationOfEveryRequestIsIgnoredWithoutReadingPastIt) {
    Journal journal;
    SimDevice device(Nas1(), &journal);
    const auto key = KeyOf("10.77.1.10");
    const std::vector<std::vector<std::uint8_t>> requests = {
        SearchRequest(), QueryRequest(key, 3), LoginRequest(key, "admin", "secret1"),
        SetRequest(key, 8, "437", "255.255.255.0", "10.77.1.1"), DhcpRequest(key)};
    for (const auto& request : requests) {
        for (std::size_t n = 0; n < request.size(); ++n) {
            // A copy of exactly n bytes, so that a sanitizer build catches any read past it.
            const std::vector<std::uint8_t> cut(request.begin(), request.begin() + static_cast<std::ptrdiff_t>(n));
            EXPECT_TRUE(device.handle(cut).empty()) << "opcode " << int(request[0]) << " cut to " << n;
            EXPECT_EQ(LastIn(journal)["status"], "ignored");
        }
    }
    EXPECT_EQ(device.state().codepage, "850");
    EXPECT_EQ(device.addressText(), "10.77.1.10");
    const std::vector<std::uint8_t> unknownOpcode = {2, 1, 2, 3, 4, 5, 6, 0, 0, 0, 0};
    EXPECT_TRUE(device.handle(unknownOpcode).empty());
    EXPECT_EQ(LastIn(journal)["reason"], "unknown opcode 2");
}

TEST(SimDevice, StaticAddressChangesTheKeyAndEveryLaterAnswer) {
    Journal journal;
    SimDevice device(Nas1(), &journal);
    const auto answers =
        device.handle(SetRequest(KeyOf("10.77.1.10"), 1, "10.77.1.77", "255.255.0.0", "10.77.1.254"));
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].bytes, BuildSetAnswer(kClient, KeyOf("10.77.1.77")));
    const auto& in = LastIn(journal);
    EXPECT_EQ(in["sub"], 1);
    EXPECT_EQ(in["payload"], "10.77.1.77");
    EXPECT_EQ(in["address_after"], "10.77.1.77");

    EXPECT_TRUE(device.handle(QueryRequest(KeyOf("10.77.1.10"), 3)).empty()) << "the old key is gone";
    EXPECT_EQ(device.handle(QueryRequest(KeyOf("10.77.1.77"), 3)).size(), 1u);
    const auto search = device.handle(SearchRequest());
    EXPECT_EQ(search[0].bytes, BuildSearchAnswer(8, kClient, KeyOf("10.77.1.77"), '0', "255.255.0.0", "10.77.1.254",
                                                 3, 3, "OFN-420", "NAS1"));
    EXPECT_EQ(search[0].deviceAddress, (Ipv4Bytes{10, 77, 1, 77}));

    // Empty netmask and gateway fields keep the old texts; the change switches DHCP off.
    DeviceConfig dhcpOn = Nas1();
    dhcpOn.dhcp = true;
    SimDevice other(dhcpOn);
    other.handle(SetRequest(KeyOf("10.77.1.10"), 1, "10.77.1.78"));
    EXPECT_EQ(other.state().netmask, "255.255.255.0");
    EXPECT_EQ(other.state().gateway, "10.77.1.1");
    EXPECT_FALSE(other.state().dhcp);
}

TEST(SimDevice, InvalidStaticAddressesAreRefusedAndChangeNothing) {
    Journal journal;
    SimDevice device(Nas1(), &journal);
    const auto key = KeyOf("10.77.1.10");
    const std::vector<std::string> payloads = {"",          "10.77.1",   "10.77.1.300", "10.077.1.5",
                                               " 10.77.1.5", "10.77.1.5\n", "224.0.0.1",  "0.0.0.0",
                                               "127.0.0.1", std::string("10.77.1.5\0", 10)};
    for (const auto& payload : payloads) {
        EXPECT_TRUE(device.handle(SetRequest(key, 1, payload)).empty()) << payload;
        EXPECT_EQ(LastIn(journal)["status"], "refused") << payload;
    }
    EXPECT_TRUE(device.handle(SetRequest(key, 1, "10.77.1.5", "255.255.255.0 ")).empty());
    EXPECT_TRUE(device.handle(SetRequest(key, 1, "10.77.1.5", "", "gateway")).empty());
    EXPECT_EQ(device.addressText(), "10.77.1.10");
    EXPECT_EQ(device.state().addressChanges, 0);
}

TEST(SimDevice, DhcpTakesTheConfiguredAddressAndReportsDhcpOn) {
    SimDevice device(Nas1());
    const auto answers = device.handle(DhcpRequest(KeyOf("10.77.1.10")));
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].bytes, BuildSetAnswer(kClient, KeyOf("10.77.1.60")));
    const auto search = device.handle(SearchRequest());
    EXPECT_EQ(search[0].bytes[21], '1');
    EXPECT_EQ(search[0].bytes[17 + 3], 60);

    DeviceConfig noDhcpAddress = Nas1();
    noDhcpAddress.dhcpAddress.clear();
    SimDevice keeps(noDhcpAddress);
    EXPECT_EQ(keeps.handle(DhcpRequest(KeyOf("10.77.1.10")))[0].bytes, BuildSetAnswer(kClient, KeyOf("10.77.1.10")));
    EXPECT_TRUE(keeps.state().dhcp);
}

TEST(SimDevice, SetRequestsChangeOrRecordTheirValuesAndTheJournalNamesThem) {
    Journal journal;
    SimDevice device(Nas1(), &journal);
    const auto key = KeyOf("10.77.1.10");
    const std::pair<std::uint8_t, std::string> sets[] = {
        {7, "LABGROUP"}, {8, "437"}, {10, "rw"}, {13, "stop"}, {14, "BT"}, {5, "p5"}};
    for (const auto& [subcode, payload] : sets) {
        const auto answers = device.handle(SetRequest(key, subcode, payload, "255.255.255.0", "10.77.1.1"));
        ASSERT_EQ(answers.size(), 1u) << int(subcode);
        EXPECT_EQ(answers[0].bytes, BuildSetAnswer(kClient, key));
        const auto& in = LastIn(journal);
        EXPECT_TRUE(in["op"] == 5 && in["sub"] == subcode && in["payload"] == payload && in["status"] == "answered")
            << in.dump();
    }
    EXPECT_EQ(ValueOf(device.handle(QueryRequest(key, 6))[0]), "LABGROUP");
    EXPECT_EQ(ValueOf(device.handle(QueryRequest(key, 9))[0]), "437");
    EXPECT_EQ(device.state().accessMode, "rw");
    EXPECT_EQ(device.state().installControl, "stop");
    EXPECT_EQ(device.state().addOnName, "BT");
    EXPECT_EQ(device.state().param5, "p5");
    EXPECT_EQ(device.addressText(), "10.77.1.10") << "the address fields of other sets are not applied";
    EXPECT_TRUE(device.handle(SetRequest(key, 3, "x")).empty());
}

TEST(SimDevice, JournalTellsWhichRequestReachedWhichDeviceAndWhatWentOut) {
    Journal journal;
    journal.setClock([] { return 12.5; });
    SimDevice device(Nas1(), &journal);
    device.handle(SetRequest(KeyOf("10.77.1.10"), 1, "10.77.1.77", "255.255.255.0", "10.77.1.1"),
                  RequestOrigin{"10.77.1.1:40000", "dv1"});
    ASSERT_EQ(journal.entries().size(), 2u);
    const auto& in = journal.entries()[0];
    EXPECT_EQ(in["dir"], "in");
    EXPECT_EQ(in["device"], "NAS1");
    EXPECT_EQ(in["op"], 5);
    EXPECT_EQ(in["client_id"], "c1c2c3c4c5c6");
    EXPECT_EQ(in["from"], "10.77.1.1:40000");
    EXPECT_EQ(in["t"], 12.5);
    const auto& out = journal.entries()[1];
    EXPECT_EQ(out["dir"], "out");
    EXPECT_EQ(out["seq"], in["seq"]);
    EXPECT_EQ(out["type"], 6);
    EXPECT_EQ(out["address"], "10.77.1.77");
    EXPECT_EQ(out["dest"], "group");
    EXPECT_EQ(out["to"], "224.0.0.1:13579");
    EXPECT_FALSE(out.contains("fault"));

    // Payload bytes that are not UTF-8 still give a valid journal line.
    std::ostringstream text;
    Journal lines(text);
    SimDevice(Nas1(), &lines).handle(SetRequest(KeyOf("10.77.1.10"), 8, "\xff\xfe"));
    const auto parsed = ParseJournalLines(text.str());
    ASSERT_EQ(parsed.size(), 2u);
    EXPECT_EQ(parsed[0]["sub"], 8);
}

TEST(SimDevice, PastItsAnswerLimitItStaysListedButAnswersAndAppliesNothing) {
    DeviceConfig config = Nas1();
    config.faults.answerLimit = 1;
    Journal journal;
    SimDevice device(config, &journal);
    EXPECT_EQ(device.handle(QueryRequest(KeyOf("10.77.1.10"), 3)).size(), 1u);
    EXPECT_TRUE(device.handle(SetRequest(KeyOf("10.77.1.10"), 1, "10.77.1.77", "255.255.255.0", "10.77.1.1")).empty());
    EXPECT_EQ(LastIn(journal)["status"], "silenced");
    EXPECT_TRUE(device.handle(QueryRequest(KeyOf("10.77.1.10"), 3)).empty()) << "the address change was not applied";
    EXPECT_EQ(device.handle(SearchRequest()).size(), 1u);
}

}  // namespace
}  // namespace ofu::devsim
