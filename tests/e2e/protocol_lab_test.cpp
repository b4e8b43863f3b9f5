// The protocol over real sockets, between the lab's namespaces, against ofu-devsim.
#include "protocol/commands.h"
#include "protocol/device_list.h"
#include "protocol/discovery.h"
#include "protocol/shared_texts.h"
#include "protocol/transport.h"
#include "protocol/volume_list.h"
#include "tests/e2e/lab_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>

namespace ofu::e2e {
namespace {

using Json = nlohmann::json;

class LabProtocol : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSharedTexts();
        StartTransport();
    }
    void TearDown() override {
        FreeDeviceList();
        VolumeList.clear();
        StopTransport();
    }
    static void Target(const char* address) { TargetDeviceAddress = address; }
};

// Journal lines of requests that reached `device` with this opcode and subcode.
std::vector<Json> RequestsTo(const std::string& device, int opcode, int subcode) {
    std::vector<Json> found;
    for (const auto& line : ReadJournals())
        if (line.value("dir", "") == "in" && line.value("device", "") == device && line.value("op", -1) == opcode &&
            line.value("sub", -1) == subcode && line.value("status", "") != "not_for_me")
            found.push_back(line);
    return found;
}

TEST_F(LabProtocol, SearchFindsEveryDeviceOnBothInterfacesOnce) {
    ASSERT_EQ(localAddressCount, 2);
    EXPECT_EQ(LocalAddressTable[0].view(), "10.77.1.1");
    EXPECT_EQ(LocalAddressTable[1].view(), "10.77.2.1");
    const auto start = std::chrono::steady_clock::now();
    SearchDevices(3, 3);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::milliseconds(2 * 1200));

    std::map<std::string, const DeviceRecord*> byName;
    std::map<std::string, int> perAddress;
    for (const DeviceRecord& record : DeviceList) {
        byName[record.name.str()] = &record;
        ++perAddress[record.ip.str()];
    }
    for (const auto& [address, count] : perAddress) EXPECT_EQ(count, 1) << address;
    for (const char* name : {"E2E-LONG", "E2E-SHORT", "E2E-MID", "E2E-BOTH", "E2E-STATIC", "E2E-DHCP", "E2E-OLD",
                             "E2E-OLD139", "E2E-FOREIGN"})
        EXPECT_TRUE(byName.count(name)) << name << " not found";
    EXPECT_FALSE(byName.count("E2E-FILTERED"));  // match bytes 3 and 4
    // Still on the address of the network it came from, on the link without the default
    // route: heard all the same (the reverse-path filter is loose).
    ASSERT_TRUE(byName.count("E2E-FOREIGN"));
    EXPECT_EQ(byName["E2E-FOREIGN"]->ip.view(), "192.168.7.20");
    EXPECT_EQ(byName["E2E-FOREIGN"]->interfaceIndex, 1);

    ASSERT_TRUE(byName.count("E2E-BOTH"));
    EXPECT_EQ(byName["E2E-BOTH"]->interfaceIndex, 0);  // reachable through both: the lower index
    ASSERT_TRUE(byName.count("E2E-MID"));
    EXPECT_EQ(byName["E2E-MID"]->interfaceIndex, 1);
    const DeviceRecord& longForm = *byName["E2E-LONG"];
    EXPECT_EQ(longForm.model.view(), "OFN-420");
    EXPECT_EQ(longForm.netmask.view(), "255.255.255.0");
    EXPECT_EQ(longForm.gateway.view(), "10.77.1.1");
    EXPECT_EQ(longForm.dhcp.view(), "0");
    EXPECT_EQ(byName["E2E-SHORT"]->dhcp.view(), "1");  // answered unicast
    EXPECT_TRUE(byName["E2E-SHORT"]->model.empty());
    EXPECT_EQ(perAddress["10.77.1.40"], 1);  // noise, delays and duplicate answers
    // A device that sends only broken answers is listed once, cut to what a record holds.
    EXPECT_EQ(perAddress["10.77.1.41"], 1);
    for (const DeviceRecord& record : DeviceList)
        if (record.ip == "10.77.1.41") {
            EXPECT_LE(record.name.size(), 255u);
        }
}

TEST_F(LabProtocol, EveryQueryReadsTheDevicesSettings) {
    SearchDevices(3, 3);
    Target("10.77.1.10");
    ASSERT_EQ(QueryVolumes(), 1);
    std::vector<std::string> volumes;
    for (const auto& entry : VolumeList) volumes.push_back(entry.name.str());
    EXPECT_EQ(volumes, (std::vector<std::string>{"HDD_a", "USB1", "USB2"}));
    ASSERT_EQ(QueryWorkgroup(), 1);
    EXPECT_EQ(DeviceWorkgroup.view(), "LABGROUP");
    ASSERT_EQ(QueryCodepage(), 1);
    EXPECT_EQ(DeviceCodepage.view(), "932");
    ASSERT_EQ(QueryShareName(), 1);
    EXPECT_EQ(DeviceShareName.view(), "HDD_a");
    ASSERT_EQ(QueryIdeOk(), 1);
    EXPECT_EQ(DeviceIdeOk.view(), "1");
    ASSERT_EQ(QueryBtFirmware(), 1);
    EXPECT_EQ(DeviceBtFirmware.view(), "2");
    ASSERT_EQ(QueryDomain(), 1);
    EXPECT_EQ(DeviceDomain.view(), "LABDOMAIN");
    ASSERT_EQ(QuerySsl(), 1);
    EXPECT_EQ(DeviceSslSetting.view(), "1");
    EXPECT_FALSE(RequestsTo("E2E-LONG", 3, 19).empty());

    Target("10.77.2.10");  // on the second interface
    ASSERT_EQ(QueryShareName(), 1);
    EXPECT_EQ(DeviceShareName.view(), "HDD_a");
}

TEST_F(LabProtocol, ConfigurationCommandsReachTheDevice) {
    SearchDevices(3, 3);
    Target("10.77.1.20");
    AccessModeText = "rw";
    EXPECT_EQ(SetAccessMode(), 1);
    DeviceCodepage = "850";
    EXPECT_EQ(SetCodepage(), 1);
    ASSERT_EQ(QueryCodepage(), 1);
    EXPECT_EQ(DeviceCodepage.view(), "850");
    const auto requests = RequestsTo("E2E-BOTH", 5, 10);
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back().value("payload", ""), "rw");
}

TEST_F(LabProtocol, NoisyDeviceStillAnswersItsQueries) {
    SearchDevices(3, 3);
    Target("10.77.1.40");
    ASSERT_EQ(QueryCodepage(), 1);
    EXPECT_EQ(DeviceCodepage.view(), "866");
    ASSERT_EQ(QueryVolumes(), 1);
    ASSERT_EQ(VolumeList.count(), 1);
    EXPECT_EQ(VolumeList.at(0).name.view(), "NOISE");
}

TEST_F(LabProtocol, LossyDeviceIsFoundWithinAFewSearches) {
    bool found = false;
    for (int attempt = 0; attempt < 6 && !found; ++attempt) {
        SearchDevices(3, 3);
        found = FindDeviceByAddress("10.77.2.40");
    }
    EXPECT_TRUE(found);
}

TEST(LabCli, DiscoverPrintsTheTableAndJson) {
    const auto table = RunOfu({"discover"});
    ASSERT_EQ(table.status, 0) << table.err;
    EXPECT_NE(table.out.find("E2E-LONG"), std::string::npos);
    const auto json = RunOfu({"discover", "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    const Json devices = Json::parse(json.out);
    int both = 0;
    for (const auto& device : devices) {
        if (device["name"] == "E2E-BOTH") {
            ++both;
            EXPECT_EQ(device["interface"], 0);
            EXPECT_EQ(device["local_address"], "10.77.1.1");
            EXPECT_EQ(device["key"], "0200000001200a4d0114");
        }
    }
    EXPECT_EQ(both, 1);
}

TEST(LabCli, QueriesAndLogin) {
    auto result = RunOfu({"query", "10.77.1.10", "volumes", "--json"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(Json::parse(result.out)["volumes"], Json({"HDD_a", "USB1", "USB2"}));
    result = RunOfu({"query", "10.77.1.11", "sharename"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "HDD_1\n");
    EXPECT_NE(result.err.find("sharename=HDD_1"), std::string::npos);  // the trace line

    result = RunOfu({"login", "10.77.1.10", "--password-stdin"}, "e2e-secret\n");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, "accepted\n");
    result = RunOfu({"login", "10.77.1.10", "--password-stdin"}, "wrong\n");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "refused\n");
    const auto logins = RequestsTo("E2E-LONG", 3, 4);
    ASSERT_GE(logins.size(), 2u);
    EXPECT_EQ(logins.back().value("user", ""), "admin");
    EXPECT_FALSE(logins.back().value("password_ok", true));

    EXPECT_EQ(RunOfu({"query", "10.77.9.99", "ssl"}).status, 1);
    EXPECT_EQ(RunOfu({"query", "not-an-address", "ssl"}).status, 2);
}

TEST(LabCli, StaticAddressChangeThenQueryAtTheNewAddress) {
    auto result = RunOfu({"set-static", "10.77.1.30", "10.77.1.31", "--netmask", "255.255.255.0", "--gateway",
                          "10.77.1.1"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "10.77.1.31\n");
    const auto changes = RequestsTo("E2E-STATIC", 5, 1);
    ASSERT_FALSE(changes.empty());
    EXPECT_EQ(changes.back().value("payload", ""), "10.77.1.31");
    EXPECT_EQ(changes.back().value("netmask", ""), "255.255.255.0");

    result = RunOfu({"query", "10.77.1.31", "volumes"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "HDD_a\n");

    // A device that kept the address of another network is read there, given one of this
    // network, and found again at it, its address moved in its namespace.
    result = RunOfu({"query", "192.168.7.20", "volumes"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "HDD_a\n");
    result = RunOfu({"set-static", "192.168.7.20", "10.77.2.72", "--netmask", "255.255.255.0", "--password-stdin"},
                    "foreign-pw\n");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "10.77.2.72\n");
    result = RunOfu({"discover", "--json"});
    ASSERT_EQ(result.status, 0) << result.err;
    std::string foundAt;
    for (const auto& device : Json::parse(result.out))
        if (device["name"] == "E2E-FOREIGN") foundAt = device["ip"];
    EXPECT_EQ(foundAt, "10.77.2.72");
    bool moved = false;
    for (const auto& line : ReadJournals())
        moved = moved || (line.value("event", "") == "address_moved" && line.value("device", "") == "E2E-FOREIGN" &&
                          line.value("to", "") == "10.77.2.72" && !line.contains("error"));
    EXPECT_TRUE(moved);
}

TEST(LabCli, DhcpChangeThenQueryAtTheObtainedAddress) {
    auto result = RunOfu({"set-dhcp", "10.77.2.30"});
    EXPECT_EQ(result.status, 1);  // wrong (empty) administrator password
    result = RunOfu({"set-dhcp", "10.77.2.30", "--password-stdin"}, "dhcp-pw\n");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "10.77.2.130\n");
    result = RunOfu({"discover", "--json"});
    bool dhcpOn = false;
    for (const auto& device : Json::parse(result.out))
        if (device["ip"] == "10.77.2.130") dhcpOn = device["dhcp"];
    EXPECT_TRUE(dhcpOn);
    result = RunOfu({"query", "10.77.2.130", "sharename"});
    EXPECT_EQ(result.status, 0) << result.err;
}

}  // namespace
}  // namespace ofu::e2e

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (ofu::e2e::RefusedOutsideLab()) return 2;
    return RUN_ALL_TESTS();
}
