// The command-line client's argument parsing. The input is split at zero bytes into the
// argument words (a real argument vector never holds one). Whatever the words, the parse
// gives a request or a reason, and a request holds only values the client may act on.
#include "addons/codepage_plans.h"
#include "fuzz/support/fuzz_input.h"
#include "protocol/device_list.h"
#include "tools/ofu/cli_arguments.h"

#include <string_view>
#include <vector>

namespace {

using namespace ofu::cli;

bool IsDriveText(const std::string& drive) {
    return drive.size() == 2 && drive[0] >= 'A' && drive[0] <= 'Z' && drive[1] == ':';
}

bool NeedsAddress(Verb verb) {
    return verb != Verb::Help && verb != Verb::Version && verb != Verb::Discover && verb != Verb::Drives &&
           verb != Verb::Payloads && verb != Verb::Payload && verb != Verb::Unmap;
}

void CheckRequest(const CliRequest& request) {
    if (NeedsAddress(request.verb)) OFU_FUZZ_CHECK(IsPlainDottedAddress(request.address));
    if (request.verb == Verb::Map || request.verb == Verb::Unmap) OFU_FUZZ_CHECK(IsDriveText(request.drive));
    if (request.verb == Verb::Map) {
        OFU_FUZZ_CHECK(request.drive != "A:" && request.drive != "B:");
        OFU_FUZZ_CHECK(!request.volume.empty() && request.volume.size() <= 255);
        OFU_FUZZ_CHECK(request.volume.find_first_of("\\/") == std::string::npos);
    }
    if (request.verb == Verb::SetStatic) {
        OFU_FUZZ_CHECK(IsPlainDottedAddress(request.newAddress));
        OFU_FUZZ_CHECK(request.gateway.empty() || IsPlainDottedAddress(request.gateway));
        std::array<std::uint8_t, 4> mask{};
        OFU_FUZZ_CHECK(ofu::DottedQuadToBytes(request.netmask, mask));
    }
    if (request.verb == Verb::InstallLanguage)
        OFU_FUZZ_CHECK(request.languageIndex >= 0 &&
                       static_cast<std::size_t>(request.languageIndex) < ofu::CodepagePlans().size());
    if (request.verb == Verb::Payload) OFU_FUZZ_CHECK(!request.output.empty());
    if (request.user) OFU_FUZZ_CHECK(request.user->size() <= 16);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view rest = ofu::fuzz::AsText({data, size});
    std::vector<std::string_view> words;
    while (!rest.empty() && words.size() < 64) {
        const std::size_t zero = rest.find('\0');
        words.push_back(rest.substr(0, zero));
        rest.remove_prefix(zero == std::string_view::npos ? rest.size() : zero + 1);
    }

    const ParsedCommandLine parsed = ParseCommandLine(words);
    OFU_FUZZ_CHECK(parsed.request.has_value() != !parsed.error.empty());
    if (parsed.request) CheckRequest(*parsed.request);

    // The helpers on every word: a drive text is "A:" to "Z:", a plain address reads back as itself.
    for (const std::string_view word : words) {
        const std::string drive = NormalisedDrive(word);
        OFU_FUZZ_CHECK(drive.empty() || IsDriveText(drive));
        if (IsPlainDottedAddress(word)) {
            std::array<std::uint8_t, 4> octets{};
            OFU_FUZZ_CHECK(ofu::DottedQuadToBytes(word, octets) && ofu::BytesToDottedQuad(octets) == word);
        }
    }
    return 0;
}
