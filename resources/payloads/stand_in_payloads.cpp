#include "resources/payloads/stand_in_payloads.h"

#include "resources/payloads/codepage_stand_ins.h"
#include "resources/payloads/elf_stand_ins.h"

#include <charconv>
#include <stdexcept>

namespace ofu::payloads {
namespace {

constexpr std::string_view kSameBytesAs = "same bytes as ";

std::vector<std::uint8_t> MakeOwnBytes(const PayloadEntry& row) {
    switch (row.kind) {
        case PayloadKind::CodepageDescriptor: return MakeCodepageDescriptor(row);
        case PayloadKind::UnicodeMap: return MakeUnicodeMap(row);
        case PayloadKind::PowerPcModule:
        case PayloadKind::ArmModule: return MakeKernelModule(row);
        case PayloadKind::ArmExecutable: return MakeArmExecutable(row);
    }
    throw std::invalid_argument("unknown payload kind");
}

// The row whose bytes this one repeats, or nullptr when it has bytes of its own.
const PayloadEntry* OriginalOf(const PayloadEntry& row) {
    if (!row.description.starts_with(kSameBytesAs)) return nullptr;
    const std::string_view idText = row.description.substr(kSameBytesAs.size());
    int id = 0;
    const auto [end, error] = std::from_chars(idText.data(), idText.data() + idText.size(), id);
    const PayloadEntry* original =
        error == std::errc{} && end == idText.data() + idText.size() ? FindPayloadEntry(row.type, id) : nullptr;
    if (original == nullptr || original == &row || OriginalOf(*original) != nullptr)
        throw std::invalid_argument("\"" + std::string(row.description) + "\" names no payload with bytes of its own");
    if (original->size != row.size) throw std::length_error("the payload it repeats has another size");
    return original;
}

}  // namespace

std::vector<std::uint8_t> MakeStandIn(const PayloadEntry& row) {
    const PayloadEntry* original = OriginalOf(row);
    std::vector<std::uint8_t> bytes = MakeOwnBytes(original != nullptr ? *original : row);
    if (bytes.size() != row.size) throw std::logic_error("made " + std::to_string(bytes.size()) + " bytes");
    return bytes;
}

std::string PayloadFileName(const PayloadEntry& row) { return std::to_string(row.id) + ".bin"; }

}  // namespace ofu::payloads
