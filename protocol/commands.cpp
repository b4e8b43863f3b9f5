#include "protocol/commands.h"

#include "protocol/datagram_reader.h"
#include "protocol/device_list.h"
#include "protocol/exchange.h"
#include "protocol/messages.h"
#include "protocol/shared_texts.h"
#include "protocol/trace.h"
#include "protocol/volume_list.h"

namespace ofu {
namespace {

// The value of a query answer: from offset 28 up to its terminator; empty when the answer
// is shorter than that.
std::string_view QueryValue(const AnswerBuffer& answer) {
    return DatagramReader(answer.received()).textAt(wire::kQueryValueOffset, wire::kDatagramBufferSize);
}

bool RunQuery(std::uint8_t subcode, int drainPolls, int answerPolls, AnswerBuffer& answer) {
    const ExchangeRule rule{wire::kAnswerQuery, drainPolls, answerPolls, AnswerAddress::Target, Drain::Counted};
    return RunExchange(rule, [subcode](std::span<std::uint8_t> b) { return BuildQueryRequest(b, subcode); },
                       answer);
}

// A query whose value goes into `result` (cut to its width) and to the trace.
template <std::size_t Width>
int QueryInto(std::uint8_t subcode, int drainPolls, int answerPolls, BoundedText<Width>& result,
              std::string_view traceName) {
    AnswerBuffer answer;
    if (!RunQuery(subcode, drainPolls, answerPolls, answer)) return 0;
    result = QueryValue(answer);
    WriteTrace(traceName, result.view());
    return 1;
}

// A configuration command: a set request with `payload`, answered by the target.
int SendSetting(std::uint8_t subcode, std::string_view payload) {
    const ExchangeRule rule{wire::kAnswerSet, 0, 11, AnswerAddress::Target, Drain::Counted};
    AnswerBuffer answer;
    const bool ok = RunExchange(
        rule, [&](std::span<std::uint8_t> b) { return BuildSetRequest(b, subcode, payload); }, answer);
    return ok ? 1 : 0;
}

// Moves the target record and TargetDeviceAddress to `address`.
DeviceRecord* MoveTargetTo(const BoundedText<16>& address) {
    DeviceRecord* record = DeviceList.findByAddress(TargetDeviceAddress.view());
    if (record == nullptr) return nullptr;
    std::array<std::uint8_t, 4> octets{};
    DottedQuadToBytes(address.view(), octets);
    record->ip = address;
    record->key.setAddress(octets);
    return record;
}

}  // namespace

int Login() {
    // A login answer is a query answer that carries nothing of its request: a late answer to
    // an earlier query of the same device, still waiting, would be read as this login's
    // result (its first value byte, non-zero for any text) and accept a wrong password. So
    // whatever waits is thrown away first, within 110 ms; a quiet socket costs 10 ms.
    const ExchangeRule rule{wire::kAnswerQuery, 11, 11, AnswerAddress::Target, Drain::UntilQuiet};
    AnswerBuffer answer;
    if (!RunExchange(rule, BuildLoginRequest, answer)) return 0;
    // An answer without the result byte counts as a refusal.
    const auto result = DatagramReader(answer.received()).byteAt(wire::kLoginResultOffset);
    return result ? static_cast<std::int8_t>(*result) : 0;
}

int QueryVolumes() {
    VolumeList.clear();
    AnswerBuffer answer;
    if (!RunQuery(wire::kQueryVolumes, 11, 21, answer)) return 0;
    AppendVolumeNames(QueryValue(answer));
    return 1;
}

int QueryWorkgroup() { return QueryInto(wire::kQueryWorkgroup, 6, 11, DeviceWorkgroup, "workgroup"); }
int QueryCodepage() { return QueryInto(wire::kQueryCodepage, 11, 11, DeviceCodepage, "codepage"); }
int QueryShareName() { return QueryInto(wire::kQueryShareName, 11, 21, DeviceShareName, "sharename"); }
int QueryIdeOk() { return QueryInto(wire::kQueryIdeOk, 11, 21, DeviceIdeOk, "ideok"); }
int QueryBtFirmware() { return QueryInto(wire::kQueryBtFirmware, 11, 21, DeviceBtFirmware, "bt_firmware"); }
int QueryDomain() { return QueryInto(wire::kQueryDomain, 11, 21, DeviceDomain, "domain"); }
int QuerySsl() { return QueryInto(wire::kQuerySsl, 11, 21, DeviceSslSetting, "ssl"); }

int SetStaticAddress() {
    // The answer comes from the device's new address.
    const ExchangeRule rule{wire::kAnswerSet, 0, 101, AnswerAddress::NewAddress, Drain::Counted};
    AnswerBuffer answer;
    const bool ok = RunExchange(
        rule,
        [](std::span<std::uint8_t> b) {
            return BuildSetRequest(b, wire::kSetStaticAddress, NewDeviceAddress.view());
        },
        answer);
    if (!ok) return 0;
    if (DeviceRecord* record = MoveTargetTo(NewDeviceAddress)) {
        record->netmask = NewNetmask;
        record->gateway = NewGateway;
    }
    TargetDeviceAddress = NewDeviceAddress;
    return 1;
}

int EnableDhcp() {
    // Whatever address the answer carries is the one the device's DHCP client obtained.
    const ExchangeRule rule{wire::kAnswerSet, 0, 101, AnswerAddress::Any, Drain::Counted};
    AnswerBuffer answer;
    if (!RunExchange(rule, BuildDhcpRequest, answer)) return 0;
    const auto obtained = AnswerAddressText(answer.received());
    if (!obtained) return 0;
    MoveTargetTo(*obtained);
    TargetDeviceAddress = *obtained;
    return 1;
}

int SetParam5() { return SendSetting(wire::kSetParam5, Param5Text.view()); }
int SetWorkgroup() { return SendSetting(wire::kSetWorkgroup, DeviceWorkgroup.view()); }
int SetCodepage() { return SendSetting(wire::kSetCodepage, DeviceCodepage.view()); }
int SetAccessMode() { return SendSetting(wire::kSetAccessMode, AccessModeText.view()); }
int SendInstallControl() { return SendSetting(wire::kSetInstallControl, InstallControlText.view()); }
int SendAddOnName() { return SendSetting(wire::kSetAddOnName, AddOnNameText.view()); }

}  // namespace ofu
