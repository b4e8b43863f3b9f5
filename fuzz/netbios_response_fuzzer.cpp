// The name query response parser on one arbitrary datagram, as an answer to a query for
// NAS1<20> with transaction id 0x4F46 (the corpus's seeds answer that query). Whatever a
// host sends, the parse stays inside the datagram, and an address it gives is a usable one
// that the datagram carries, for this query only, unchanged by bytes after the record.
#include "fuzz/support/fuzz_input.h"
#include "platform/linux/netbios_name_query.h"

#include <arpa/inet.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace ofu::platform::linux_net;

constexpr std::uint16_t kId = 0x4F46;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> datagram(data, size);
    const std::string address = ParseNameQueryResponse(datagram, "NAS1", kFileServerSuffix, kId);
    // The name's letter case does not matter.
    OFU_FUZZ_CHECK(ParseNameQueryResponse(datagram, "nas1", kFileServerSuffix, kId) == address);
    if (address.empty()) return 0;

    // A response header with our id, a name of at least one byte, the record's fixed fields
    // and one entry.
    OFU_FUZZ_CHECK(size >= 12 + 1 + 10 + 6);
    OFU_FUZZ_CHECK(data[0] == (kId >> 8) && data[1] == (kId & 0xFF) && (data[2] & 0x80) != 0);
    // It answers no other transaction; with one record, no other name or service either.
    OFU_FUZZ_CHECK(ParseNameQueryResponse(datagram, "NAS1", kFileServerSuffix, kId ^ 0x0100).empty());
    if (data[6] == 0 && data[7] == 1) {
        OFU_FUZZ_CHECK(ParseNameQueryResponse(datagram, "NAS10", kFileServerSuffix, kId).empty());
        OFU_FUZZ_CHECK(ParseNameQueryResponse(datagram, "NAS1", 0x00, kId).empty());
    }

    // A host's address, carried in the datagram.
    in_addr parsed{};
    OFU_FUZZ_CHECK(::inet_pton(AF_INET, address.c_str(), &parsed) == 1);
    OFU_FUZZ_CHECK(parsed.s_addr != htonl(INADDR_ANY) && parsed.s_addr != htonl(INADDR_BROADCAST));
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&parsed.s_addr);
    OFU_FUZZ_CHECK(std::search(datagram.begin(), datagram.end(), bytes, bytes + 4) != datagram.end());

    // Bytes after the record do not change it.
    std::vector<std::uint8_t> longer(datagram.begin(), datagram.end());
    longer.push_back(0xC0);
    OFU_FUZZ_CHECK(ParseNameQueryResponse(longer, "NAS1", kFileServerSuffix, kId) == address);
    return 0;
}
