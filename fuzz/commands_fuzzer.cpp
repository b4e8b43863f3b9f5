// Every command's answer handling on the in-memory network: the first input byte picks the
// command, the second its set-up, and the rest is a datagram script (support/protocol_session.h)
// whose datagrams carry this run's ClientId and the address the command waits for unless
// the script says otherwise. Whatever arrives, the command ends in bounded time, the device
// list and the volume list keep their promises, a failed address change changes nothing,
// and the trace line is safe for a terminal.
#include "fuzz/support/protocol_session.h"
#include "protocol/commands.h"
#include "protocol/device_list.h"
#include "protocol/exchange.h"
#include "protocol/poll_deadline.h"
#include "protocol/shared_texts.h"
#include "protocol/volume_list.h"

#include <string>
#include <vector>

namespace {

using Octets = std::array<std::uint8_t, 4>;

constexpr Octets kTarget = {10, 77, 2, 10};
constexpr Octets kNewAddress = {10, 77, 2, 99};
constexpr int kTargetSlot = 1;

struct Command {
    int (*run)();
    int drainPolls;
    int answerPolls;
    ofu::AnswerAddress expected;
};

const Command kCommands[] = {
    {ofu::Login, 0, 11, ofu::AnswerAddress::Target},
    {ofu::QueryVolumes, 11, 21, ofu::AnswerAddress::Target},
    {ofu::QueryWorkgroup, 6, 11, ofu::AnswerAddress::Target},
    {ofu::QueryCodepage, 11, 11, ofu::AnswerAddress::Target},
    {ofu::QueryShareName, 11, 21, ofu::AnswerAddress::Target},
    {ofu::QueryIdeOk, 11, 21, ofu::AnswerAddress::Target},
    {ofu::QueryBtFirmware, 11, 21, ofu::AnswerAddress::Target},
    {ofu::QueryDomain, 11, 21, ofu::AnswerAddress::Target},
    {ofu::QuerySsl, 11, 21, ofu::AnswerAddress::Target},
    {ofu::SetStaticAddress, 0, 101, ofu::AnswerAddress::NewAddress},
    {ofu::EnableDhcp, 0, 101, ofu::AnswerAddress::Any},
    {ofu::SetParam5, 0, 11, ofu::AnswerAddress::Target},
    {ofu::SetWorkgroup, 0, 11, ofu::AnswerAddress::Target},
    {ofu::SetCodepage, 0, 11, ofu::AnswerAddress::Target},
    {ofu::SetAccessMode, 0, 11, ofu::AnswerAddress::Target},
    {ofu::SendInstallControl, 0, 11, ofu::AnswerAddress::Target},
    {ofu::SendAddOnName, 0, 11, ofu::AnswerAddress::Target},
};
constexpr std::size_t kCommandCount = sizeof(kCommands) / sizeof(kCommands[0]);

void ListDevice(const Octets& address, int slot) {
    ofu::DeviceRecord record;
    record.name = "NAS-" + std::to_string(address[3]);
    record.ip = ofu::BytesToDottedQuad(address);
    record.netmask = "255.255.255.0";
    record.gateway = "10.77.2.1";
    record.dhcp = "0";
    record.key.bytes = {0x02, 0x00, 0x00, 0x00, 0x02, address[3], address[0], address[1], address[2], address[3]};
    record.interfaceIndex = slot;
    ofu::DeviceList.append(record);
}

// The texts the callers fill before a command; `fullWidth` fills each to its limit.
void FillTexts(bool fullWidth) {
    ofu::TargetDeviceAddress = ofu::BytesToDottedQuad(kTarget);
    ofu::NewDeviceAddress = ofu::BytesToDottedQuad(kNewAddress);
    ofu::NewNetmask = fullWidth ? "255.255.255.255" : "255.255.255.0";
    ofu::NewGateway = fullWidth ? "100.100.100.100" : "10.77.2.1";
    ofu::LoginUserName = fullWidth ? std::string(16, 'u') : "admin";
    ofu::LoginPassword = fullWidth ? std::string(16, 'p') : "";
    ofu::DeviceWorkgroup = fullWidth ? std::string(31, 'w') : "WORKGROUP";
    ofu::DeviceCodepage = fullWidth ? std::string(75, '9') : "850";
    ofu::AccessModeText = fullWidth ? std::string(7, 'r') : "rw";
    ofu::InstallControlText = fullWidth ? std::string(7, 's') : "stop";
    ofu::AddOnNameText = fullWidth ? std::string(7, 'B') : "BT";
    ofu::Param5Text = fullWidth ? std::string(31, '5') : "";
}

struct ListSnapshot {
    std::vector<std::string> ips;
    std::vector<std::string> netmasks;
    std::vector<ofu::DeviceKey> keys;
    std::string target;

    static ListSnapshot Take() {
        ListSnapshot snapshot;
        for (const ofu::DeviceRecord& record : ofu::DeviceList) {
            snapshot.ips.push_back(record.ip.str());
            snapshot.netmasks.push_back(record.netmask.str());
            snapshot.keys.push_back(record.key);
        }
        snapshot.target = ofu::TargetDeviceAddress.str();
        return snapshot;
    }
    bool operator==(const ListSnapshot&) const = default;
};

void CheckVolumeList() {
    for (std::int32_t i = 0; i < ofu::VolumeList.count(); ++i) {
        const std::string_view name = ofu::VolumeList.at(static_cast<std::size_t>(i)).name.view();
        OFU_FUZZ_CHECK(!name.empty() && name.find(':') == std::string_view::npos);
        for (std::int32_t j = 0; j < i; ++j)
            OFU_FUZZ_CHECK(!(ofu::VolumeList.at(static_cast<std::size_t>(j)).name == name));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ofu::fuzz::FuzzInput input(data, size);
    const Command& command = kCommands[input.byte() % kCommandCount];
    const std::uint8_t setup = input.byte();

    ofu::fuzz::ProtocolSession session(2);
    ListDevice({10, 77, 1, 10}, 0);
    ListDevice(kTarget, kTargetSlot);
    ListDevice({10, 77, 2, 11}, kTargetSlot);
    FillTexts(setup & 0x01);

    const Octets expected = command.expected == ofu::AnswerAddress::NewAddress ? kNewAddress : kTarget;
    ofu::fuzz::ScheduleDatagramScript(input, session, {0, 0, 20'000}, expected);
    const ListSnapshot before = ListSnapshot::Take();
    const int result = command.run();

    OFU_FUZZ_CHECK(session.network.sent().size() == 1 && session.network.sent()[0].slot == kTargetSlot);
    const std::int64_t nominal = ofu::PollDeadline::NominalMicros(command.answerPolls, command.drainPolls,
                                                                  ofu::kCommandPauseMillis);
    // Skipped datagrams end at twice the nominal time (plus the wait that found the last of
    // them); the counted polls add at most the nominal time once more.
    OFU_FUZZ_CHECK(session.clock.nowMicros() <= 3 * nominal + ofu::kReceiveWaitMillis * 1000);
    OFU_FUZZ_CHECK(command.run == ofu::Login ? (result >= -128 && result <= 127) : (result == 0 || result == 1));
    CheckVolumeList();
    // Trace lines go to the console: one line each, and nothing a device sent can act on the
    // terminal (no control characters).
    OFU_FUZZ_CHECK(session.traces.size() <= 1);
    for (const std::string& line : session.traces) {
        OFU_FUZZ_CHECK(!line.empty() && line.back() == '\n');
        for (std::size_t k = 0; k + 1 < line.size(); ++k) {
            const auto byte = static_cast<unsigned char>(line[k]);
            OFU_FUZZ_CHECK(byte >= 0x20 && byte != 0x7F);
        }
    }

    OFU_FUZZ_CHECK(ofu::DeviceList.count() == 3);
    for (const ofu::DeviceRecord& record : ofu::DeviceList)
        OFU_FUZZ_CHECK(record.ip == ofu::BytesToDottedQuad(record.key.address()));
    if (command.run == ofu::SetStaticAddress || command.run == ofu::EnableDhcp) {
        if (result == 0) {
            OFU_FUZZ_CHECK(ListSnapshot::Take() == before);
        } else {
            // The target moved, and later commands find it at its new address.
            OFU_FUZZ_CHECK(ofu::FindDeviceByAddress(ofu::TargetDeviceAddress.view()));
            if (command.run == ofu::SetStaticAddress) OFU_FUZZ_CHECK(ofu::TargetDeviceAddress == ofu::NewDeviceAddress);
        }
    } else {
        OFU_FUZZ_CHECK(ListSnapshot::Take() == before);
    }
    return 0;
}
