#include <gtest/gtest.h>

#include "config_loader.h"

namespace ofu::devsim {
namespace {

std::string Load(const std::string& devices) {
    return LoadConfigText("{\"devices\": [" + devices + "]}", "lab.json").error;
}

const std::string kMinimal = R"("name": "NAS1", "ip": "10.77.1.10", "device_id": "00:11:22:33:44:55")";

TEST(ConfigLoader, ReadsEveryField) {
    const auto result = LoadConfigText(R"({"devices": [{
        "name": "NAS1", "ip": "10.77.1.10", "netmask": "255.255.0.0", "gateway": "10.77.1.1", "dhcp": true,
        "device_id": "00:11:22:aa:BB:55", "answer_form": 7, "match_bytes": [3, 4], "model": "OFN-420",
        "volumes": ["HDD_a", "USB1"], "workgroup": "LAB", "codepage": "437", "ideok": "0", "share_name": "HDD_1",
        "bt_firmware": "2", "domain": "nas1.lab", "ssl": "1", "admin_password": "pw", "dhcp_address": "10.77.1.60",
        "answer_to": "unicast", "link": "both", "smb": false, "web": false, "addon_folders": false,
        "smb_protocol": "NT1", "smb_ports": [139, 445],
        "ideok_sequence": [null, null, "3"], "codepage_sequence": ["852"], "bt_firmware_sequence": [null, "0", "1"],
        "share_name_sequence": [null], "restart_silence_ms": 5000,
        "shares": {"USB1": {"user": "hdduser", "password": "secret 1"}},
        "faults": {"delay_ms": 300, "drop_probability": 0.25, "seed": 7, "duplicates": 1,
                   "foreign_client_answers": 2, "other_type_answers": 3,
                   "malformed": ["unterminated", "name_over_255"], "malformed_replaces_answer": true}
    }]})", "lab.json");
    ASSERT_TRUE(result.ok()) << result.error;
    ASSERT_EQ(result.devices.size(), 1u);
    const DeviceConfig& c = result.devices[0];
    EXPECT_EQ(c.netmask, "255.255.0.0");
    EXPECT_TRUE(c.dhcp);
    EXPECT_EQ(c.deviceId, (DeviceIdBytes{0x00, 0x11, 0x22, 0xAA, 0xBB, 0x55}));
    EXPECT_EQ(c.answerForm, 7);
    EXPECT_EQ(c.matchByte2, 4);
    EXPECT_EQ(c.volumes, (std::vector<std::string>{"HDD_a", "USB1"}));
    EXPECT_EQ(c.shareName, "HDD_1");
    EXPECT_EQ(c.ssl, "1");
    EXPECT_EQ(c.answerTo, AnswerDestination::kUnicast);
    EXPECT_EQ(c.link, "both");
    EXPECT_EQ(c.faults.delayMs, 300);
    EXPECT_DOUBLE_EQ(c.faults.dropProbability, 0.25);
    EXPECT_EQ(c.faults.seed, 7u);
    EXPECT_EQ(c.faults.otherTypeAnswers, 3);
    EXPECT_EQ(c.faults.malformed,
              (std::vector<MalformedKind>{MalformedKind::kUnterminated, MalformedKind::kNameOver255}));
    EXPECT_TRUE(c.faults.malformedReplacesAnswer);
    EXPECT_FALSE(c.smbServer);
    EXPECT_FALSE(c.webServer);
    EXPECT_EQ(c.shares, (std::map<std::string, ShareAccount>{{"USB1", {"hdduser", "secret 1"}}}));
    EXPECT_FALSE(c.addOnFolders);
    EXPECT_EQ(c.smbProtocol, "NT1");
    EXPECT_EQ(c.smbPorts, (std::vector<int>{139, 445}));
    EXPECT_EQ(c.ideOkSequence, (AnswerSequence{std::nullopt, std::nullopt, "3"}));
    EXPECT_EQ(c.codepageSequence, (AnswerSequence{"852"}));
    EXPECT_EQ(c.btFirmwareSequence, (AnswerSequence{std::nullopt, "0", "1"}));
    EXPECT_EQ(c.shareNameSequence, (AnswerSequence{std::nullopt}));
    EXPECT_EQ(c.restartSilenceMs, 5000);

    const auto defaults = LoadConfigText("{\"devices\": [{" + kMinimal + "}]}", "x");
    ASSERT_TRUE(defaults.ok());
    EXPECT_EQ(defaults.devices[0].answerForm, 8);
    EXPECT_EQ(defaults.devices[0].shareName, "HDD_a");
    EXPECT_EQ(defaults.devices[0].answerTo, AnswerDestination::kGroup);
    EXPECT_TRUE(defaults.devices[0].smbServer);
    EXPECT_TRUE(defaults.devices[0].webServer);
    EXPECT_TRUE(defaults.devices[0].shares.empty());
    EXPECT_TRUE(defaults.devices[0].addOnFolders);
    EXPECT_EQ(defaults.devices[0].smbProtocol, "modern");
    EXPECT_EQ(defaults.devices[0].smbPorts, (std::vector<int>{445}));
    EXPECT_TRUE(defaults.devices[0].ideOkSequence.empty());
    EXPECT_EQ(defaults.devices[0].restartSilenceMs, 0);
}

TEST(ConfigLoader, RefusesAnswerSequencesAndSilencesTheDeviceCouldNotServe) {
    auto list = [](std::size_t entries) {
        std::string text = "[";
        for (std::size_t i = 0; i < entries; ++i) text += i ? ", \"1\"" : "\"1\"";
        return text + "]";
    };
    const std::pair<std::string, std::string> cases[] = {
        {R"("ideok_sequence": "3")", R"(field "ideok_sequence": expected a list of texts and nulls)"},
        {R"("codepage_sequence": [null, 850])", R"(field "codepage_sequence": expected a list of texts and nulls)"},
        {R"("bt_firmware_sequence": [])", R"(field "bt_firmware_sequence": an empty list)"},
        {R"("share_name_sequence": )" + list(65), R"(field "share_name_sequence": more than 64 entries)"},
        {R"("ideok_sequence": [null, ")" + std::string(4069, 'x') + R"("])",
         R"(field "ideok_sequence[1]": longer than 4068 characters)"},
        {R"("restart_silence_ms": -1)", R"(field "restart_silence_ms": -1 is not within 0 to 600000)"},
        {R"("addon_folders": "no")", R"(field "addon_folders": expected true or false)"},
    };
    for (const auto& [field, expected] : cases) {
        const std::string prefix = R"(lab.json: device "NAS1": )" + expected;
        const std::string error = Load("{" + kMinimal + ", " + field + "}");
        EXPECT_EQ(error.substr(0, prefix.size()), prefix) << field.substr(0, 60);
    }
    EXPECT_EQ(Load("{" + kMinimal + R"(, "share_name_sequence": )" + list(64) + "}"), "");
    EXPECT_EQ(Load("{" + kMinimal + R"(, "ideok_sequence": [")" + std::string(4068, 'x') + R"("]})"), "");
}

TEST(ConfigLoader, RefusesSharesTheLabCouldNotServe) {
    const std::string device = "{" + kMinimal + R"(, "volumes": ["HDD_a", "USB1"], "shares": )";
    const std::pair<std::string, std::string> cases[] = {
        {R"({"USB2": {"user": "u1", "password": "p"}})",
         R"(field "shares": "USB2" is not one of the device's volumes)"},
        {R"({"USB1": {"user": "1user", "password": "p"}})", R"(field "shares.USB1.user": "1user" is not 1 to 32)"},
        {R"({"USB1": {"user": ")" + std::string(33, 'u') + R"(", "password": "p"}})", R"(field "shares.USB1.user")"},
        {R"({"USB1": {"user": "us\"er", "password": "p"}})", R"(field "shares.USB1.user")"},
        {R"({"USB1": {"user": "Root", "password": "p"}})", R"(field "shares.USB1.user": "Root" is reserved)"},
        {R"({"USB1": {"user": "admin", "password": "p"}})", R"(field "shares.USB1.user": "admin" is reserved)"},
        {R"({"USB1": {"user": "u1", "password": ""}})", R"(field "shares.USB1.password": not 1 to 64)"},
        {R"({"USB1": {"user": "u1", "password": "a\nb"}})", R"(field "shares.USB1.password": not 1 to 64)"},
        {R"({"USB1": {"user": "u1", "password": ")" + std::string(65, 'p') + R"("}})",
         R"(field "shares.USB1.password")"},
        {R"({"HDD_a": {"user": "u1", "password": "p"}, "USB1": {"user": "u1", "password": "q"}})",
         R"(field "shares.USB1.password": user "u1" has another password)"},
        {R"({"USB1": {"user": "u1"}})", R"(field "shares.USB1.password": missing)"},
        {R"({"USB1": {"user": "u1", "password": "p", "group": "g"}})", R"(field "shares.USB1.group": unknown field)"},
        {R"({"USB1": "u1"})", R"(field "shares.USB1": expected)"},
        {R"(["USB1"])", R"(field "shares": expected an object)"},
        {R"({"USB1": {"size_kib": 8}})", R"(field "shares.USB1.size_kib": 8 is not within 16 to 1048576)"},
        {R"({"USB1": {"read_only": "yes"}})", R"(field "shares.USB1.read_only": expected true or false)"},
        {R"({}, "smb_protocol": "SMB1")", R"(field "smb_protocol": "SMB1" is not "modern" or "NT1")"},
        {R"({}, "smb_ports": [445, 138])", R"(field "smb_ports": 138 is not 445 or 139)"},
        {R"({}, "smb_ports": [139, 139])", R"(field "smb_ports": 139 twice)"},
        {R"({}, "smb_ports": [])", R"(field "smb_ports": an empty list)"},
        {R"({}, "smb_ports": "445")", R"(field "smb_ports": expected a list of port numbers)"},
    };
    for (const auto& [shares, expected] : cases) {
        const std::string prefix = R"(lab.json: device "NAS1": )" + expected;
        const std::string error = Load(device + shares + "}");
        EXPECT_EQ(error.substr(0, prefix.size()), prefix) << shares;
    }
    const std::string sameUserTwice =
        R"({"HDD_a": {"user": "u1", "password": "p w"}, "USB1": {"user": "u1", "password": "p w"}})";
    EXPECT_EQ(Load(device + sameUserTwice + "}"), "");
    EXPECT_EQ(Load(device + R"({"USB1": {"read_only": true, "size_kib": 256}})" + "}"), "") << "a guest share";
    EXPECT_EQ(Load("{" + kMinimal + R"(, "web": 1})"),
              R"(lab.json: device "NAS1": field "web": expected true or false)");
}

TEST(ConfigLoader, ErrorsNameTheSourceTheDeviceAndTheField) {
    const std::pair<std::string, std::string> cases[] = {
        {"{" + kMinimal + ", \"ip\": \"10.77.1.300\"}",
         R"(lab.json: device "NAS1": field "ip": "10.77.1.300" is not a dotted IPv4 address)"},
        {R"({"name": "NAS2", "device_id": "00:11:22:33:44:55"})", R"(lab.json: device "NAS2": field "ip": missing)"},
        {R"({"ip": "10.77.1.10", "device_id": "00:11:22:33:44:55"})", R"(lab.json: device #1: field "name": missing)"},
        {"{" + kMinimal + ", \"device_id\": \"00:11:22:33:44\"}",
         R"(lab.json: device "NAS1": field "device_id": "00:11:22:33:44" is not six hex bytes)"},
        {"{" + kMinimal + ", \"answer_form\": 3}", R"(lab.json: device "NAS1": field "answer_form": 3 is not 2, 7 or 8)"},
        {"{" + kMinimal + ", \"dhcp\": \"yes\"}", R"(lab.json: device "NAS1": field "dhcp": expected true or false)"},
        {"{" + kMinimal + ", \"volume\": []}", R"(lab.json: device "NAS1": field "volume": unknown field)"},
        {"{" + kMinimal + ", \"link\": \"dev3\"}", R"(lab.json: device "NAS1": field "link": "dev3" is not)"},
        {"{" + kMinimal + ", \"match_bytes\": [3, 300]}", R"(lab.json: device "NAS1": field "match_bytes")"},
        {"{" + kMinimal + ", \"model\": \"" + std::string(32, 'm') + "\"}",
         R"(lab.json: device "NAS1": field "model": longer than 31 characters)"},
        {"{" + kMinimal + ", \"faults\": {\"malformed\": [\"short\", \"long\"]}}",
         R"(lab.json: device "NAS1": field "faults.malformed": "long" is not)"},
        {"{" + kMinimal + ", \"faults\": {\"drop_probability\": 1.5}}",
         R"(lab.json: device "NAS1": field "faults.drop_probability": not within 0 to 1)"},
        {"{" + kMinimal + ", \"faults\": {\"delay\": 5}}", R"(lab.json: device "NAS1": field "faults.delay": unknown)"},
        {"{" + kMinimal + "}, {" + kMinimal + "}", R"(lab.json: device "NAS1": field "name": used by an earlier device)"},
        {"7", "lab.json: device #1: expected an object"},
    };
    for (const auto& [devices, expected] : cases) {
        const std::string error = Load(devices);
        EXPECT_EQ(error.substr(0, expected.size()), expected) << devices;
    }
    EXPECT_EQ(LoadConfigText("{\"devices\": [", "lab.json").error.substr(0, 25), "lab.json: not valid JSON:");
    EXPECT_EQ(LoadConfigText("[]", "lab.json").error, "lab.json: expected an object with a \"devices\" list");
    EXPECT_EQ(LoadConfigFile("/nonexistent/lab.json").error, "/nonexistent/lab.json: can't be read");
}

}  // namespace
}  // namespace ofu::devsim
