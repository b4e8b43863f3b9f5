// The search-answer parser on one arbitrary datagram: whatever a device sends, the parse
// stays inside the datagram and the record holds what the answer carried, cut to fit.
#include "fuzz/support/fuzz_input.h"
#include "protocol/device_list.h"
#include "protocol/messages.h"

#include <algorithm>
#include <cstring>

namespace {

using ofu::fuzz::AsText;

// The name offset of a search answer type, or 0 when the type is none.
std::size_t NameOffset(std::uint8_t type) {
    switch (type) {
        case ofu::wire::kAnswerSearchShort: return ofu::wire::kShortFormLayout.nameOffset;
        case ofu::wire::kAnswerSearchMatched: return ofu::wire::kMatchedFormLayout.nameOffset;
        case ofu::wire::kAnswerSearchLong: return ofu::wire::kLongFormLayout.nameOffset;
        default: return 0;
    }
}

// True when `text` is the zero-free start of `field` (a text read from a fixed field).
bool IsFieldPrefix(std::string_view text, std::span<const std::uint8_t> field) {
    const std::string_view whole = AsText(field);
    return text.size() <= whole.size() && whole.substr(0, text.size()) == text &&
           text.find('\0') == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> answer(data, size);
    const auto parsed = ofu::ParseSearchAnswer(answer);
    const std::size_t nameOffset = size > 0 ? NameOffset(data[0]) : 0;
    OFU_FUZZ_CHECK(parsed.has_value() == (nameOffset != 0 && size >= nameOffset));

    ofu::MatchesClientId(answer);
    const auto address = ofu::AnswerAddressText(answer);
    OFU_FUZZ_CHECK(address.has_value() == (size >= ofu::wire::kKeyAddressOffset + 4));

    ofu::FreeDeviceList();
    const bool added = ofu::AddDeviceRecord(answer, 0);
    OFU_FUZZ_CHECK(added == parsed.has_value());
    if (!parsed) return 0;

    OFU_FUZZ_CHECK(parsed->address == *address);
    OFU_FUZZ_CHECK(std::equal(parsed->key.bytes.begin(), parsed->key.bytes.end(),
                              answer.begin() + ofu::wire::kDeviceKeyOffset));
    OFU_FUZZ_CHECK(parsed->name.size() <= std::min<std::size_t>(255, size - nameOffset));
    OFU_FUZZ_CHECK(IsFieldPrefix(parsed->name.view(), answer.subspan(nameOffset)));
    OFU_FUZZ_CHECK(IsFieldPrefix(parsed->netmask.view(), answer.subspan(ofu::wire::kAnswerNetmaskOffset, 16)));
    OFU_FUZZ_CHECK(IsFieldPrefix(parsed->gateway.view(), answer.subspan(ofu::wire::kAnswerGatewayOffset, 16)));
    OFU_FUZZ_CHECK(parsed->dhcp.size() <= 1);
    // An unterminated model runs on into the name length, up to the 33 characters a record holds.
    if (data[0] == ofu::wire::kAnswerSearchLong)
        OFU_FUZZ_CHECK(IsFieldPrefix(parsed->model.view(), answer.subspan(ofu::wire::kModelOffset, 33)));
    else
        OFU_FUZZ_CHECK(parsed->model.empty());

    // The record is the parse, and its key and address text name the same address.
    OFU_FUZZ_CHECK(ofu::DeviceList.count() == 1);
    const ofu::DeviceRecord& record = ofu::DeviceList.at(0);
    OFU_FUZZ_CHECK(record.name == parsed->name && record.ip == parsed->address && record.model == parsed->model);
    OFU_FUZZ_CHECK(record.ip == ofu::BytesToDottedQuad(record.key.address()));
    // The first answer for an address wins.
    OFU_FUZZ_CHECK(!ofu::AddDeviceRecord(answer, 1) && ofu::DeviceList.count() == 1);
    ofu::FreeDeviceList();
    return 0;
}
