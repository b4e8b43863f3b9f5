// Writes the binary seeds of the fuzz corpora: real answers made by the simulator's builders
// and requests laid out as the simulator's tests lay them out, in each target's input format.
// Usage:
//   ofu_fuzz_seed_writer CORPUS_FOLDER
// writes CORPUS_FOLDER/<target>/seed-<what> (existing files of those names are replaced).
#include "fuzz/support/protocol_session.h"
#include "tests/devsim/request_bytes.h"
#include "tools/devsim/answer_builders.h"
#include "tools/devsim/malformed_answers.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace ofu::devsim;
using ofu::fuzz::ScriptEvent;
using Bytes = std::vector<std::uint8_t>;

const ClientIdBytes kForeignClient{0xEE, 0xED, 0xEC, 0xEB, 0xEA, 0xE9};

DeviceKeyBytes KeyOf(const Ipv4Bytes& address) {
    return MakeDeviceKey({0x02, 0x00, 0x00, 0x00, address[2], address[3]}, address);
}

SearchAnswerFields Fields(std::uint8_t form, const Ipv4Bytes& address, std::string name) {
    SearchAnswerFields fields;
    fields.form = form;
    fields.key = KeyOf(address);
    fields.dhcpChar = '0';
    fields.netmask = "255.255.255.0";
    fields.gateway = "10.77.1.1";
    fields.model = form == 8 ? "OFN-420" : "";
    fields.name = std::move(name);
    return fields;
}

Bytes Search(std::uint8_t form, const Ipv4Bytes& address, std::string name) {
    return BuildSearchAnswer(Fields(form, address, std::move(name)));
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// A request parser record (after the input's set-up byte): flags (bit 0: the device's key is written in), length, bytes.
Bytes Record(std::uint8_t flags, const Bytes& request) {
    Bytes record{flags, static_cast<std::uint8_t>(request.size() & 0xFF), static_cast<std::uint8_t>(request.size() >> 8)};
    record.insert(record.end(), request.begin(), request.end());
    return record;
}

Bytes Words(std::initializer_list<std::string> words) {
    Bytes bytes;
    for (const std::string& word : words) {
        if (!bytes.empty()) bytes.push_back(0);
        bytes.insert(bytes.end(), word.begin(), word.end());
    }
    return bytes;
}

class SeedFolder {
public:
    explicit SeedFolder(fs::path root) : root_(std::move(root)) {}
    void write(const std::string& target, const std::string& what, const Bytes& bytes) {
        fs::create_directories(root_ / target);
        std::ofstream out(root_ / target / ("seed-" + what), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        ok_ = ok_ && static_cast<bool>(out);
        ++count_;
    }
    bool ok() const { return ok_; }
    int count() const { return count_; }

private:
    fs::path root_;
    bool ok_ = true;
    int count_ = 0;
};

void WriteSearchAnswers(SeedFolder& seeds) {
    const auto longForm = Fields(8, {10, 77, 1, 10}, "NAS1");
    seeds.write("search_answer", "short-form", Search(2, {10, 77, 1, 11}, "NAS2"));
    seeds.write("search_answer", "matched-form", Search(7, {10, 77, 2, 10}, "NAS3"));
    seeds.write("search_answer", "long-form", BuildSearchAnswer(longForm));
    seeds.write("search_answer", "unterminated", MakeUnterminatedSearchAnswer(longForm));
    seeds.write("search_answer", "name-over-255", MakeLongNameSearchAnswer(longForm));
    seeds.write("search_answer", "name-beyond-datagram", MakeNameBeyondDatagramSearchAnswer(longForm));
    seeds.write("search_answer", "cut-short", MakeShortAnswer(BuildSearchAnswer(longForm)));
}

void WriteSearches(SeedFolder& seeds) {
    using ofu::fuzz::kEventKeepClientId;
    using ofu::fuzz::kEventReceiveError;
    const Bytes nas1 = Search(8, {10, 77, 1, 10}, "NAS1");
    // One address: the three forms, an answer to the second copy of the request, a receive error.
    seeds.write("search", "three-forms", Concat({{0x00}, ScriptEvent(0, 0, nas1), ScriptEvent(0, 2, Search(2, {10, 77, 1, 11}, "NAS2")),
                                                 ScriptEvent(0, 4, Search(7, {10, 77, 1, 12}, "NAS3")), ScriptEvent(0, 10, nas1),
                                                 ScriptEvent(kEventReceiveError, 12, {})}));
    // Two addresses: the same device on both, another run's answer, a query answer, an answer
    // whose match bytes the filters refuse, and a device on the second address only.
    auto filtered = Fields(7, {10, 77, 2, 11}, "FILTERED");
    filtered.matchByte2 = 4;
    auto foreign = Fields(8, {10, 77, 2, 12}, "FOREIGN");
    foreign.clientId = kForeignClient;
    seeds.write("search", "two-addresses-and-noise",
                Concat({{0x01}, ScriptEvent(0, 0, nas1), ScriptEvent(1, 0, nas1),
                        ScriptEvent(1 | kEventKeepClientId, 1, BuildSearchAnswer(foreign)),
                        ScriptEvent(1, 2, BuildQueryAnswer({}, KeyOf({10, 77, 2, 13}), "HDD_a")),
                        ScriptEvent(1, 3, BuildSearchAnswer(filtered)), ScriptEvent(1, 4, Search(2, {10, 77, 2, 10}, "NAS4"))}));
    // Filters 0 and 0 take any match bytes; broken answers of every kind.
    auto anyMatch = Fields(7, {10, 77, 1, 20}, "ANY");
    anyMatch.matchByte1 = 1;
    anyMatch.matchByte2 = 2;
    const auto longForm = Fields(8, {10, 77, 1, 21}, "BROKEN");
    seeds.write("search", "any-filter-and-broken-answers",
                Concat({{0x04}, ScriptEvent(0, 0, BuildSearchAnswer(anyMatch)),
                        ScriptEvent(0, 1, MakeUnterminatedSearchAnswer(longForm)),
                        ScriptEvent(0, 2, MakeLongNameSearchAnswer(longForm)),
                        ScriptEvent(0, 3, MakeNameBeyondDatagramSearchAnswer(longForm)),
                        ScriptEvent(0, 4, MakeShortAnswer(BuildSearchAnswer(longForm)))}));
}

void WriteCommands(SeedFolder& seeds) {
    using ofu::fuzz::kEventKeepAddress;
    using ofu::fuzz::kEventKeepClientId;
    using ofu::fuzz::kEventReceiveError;
    const Ipv4Bytes target{10, 77, 2, 10};
    const DeviceKeyBytes key = KeyOf(target);
    const auto query = [&](std::uint8_t index, const std::string& what, const std::string& value) {
        // A stale answer that the drain throws away, noise, then the answer.
        seeds.write("commands", what,
                    Concat({{index, 0x00}, ScriptEvent(1, 0, BuildQueryAnswer({}, key, "STALE")),
                            ScriptEvent(1, 7, BuildSetAnswer({}, key)), ScriptEvent(1 | kEventReceiveError, 7, {}),
                            ScriptEvent(1 | kEventKeepClientId, 8, BuildQueryAnswer(kForeignClient, key, "FOREIGN")),
                            ScriptEvent(1 | kEventKeepAddress, 8, BuildQueryAnswer({}, KeyOf({10, 77, 2, 11}), "OTHER")),
                            ScriptEvent(1, 9, BuildQueryAnswer({}, key, value))}));
    };
    seeds.write("commands", "login-accepted",
                Concat({{0, 0x00}, ScriptEvent(1, 1, BuildSetAnswer({}, key)), ScriptEvent(1, 2, BuildLoginAnswer({}, key, 1))}));
    seeds.write("commands", "login-full-width-refused", Concat({{0, 0x01}, ScriptEvent(1, 2, BuildLoginAnswer({}, key, 0))}));
    query(1, "volumes", "HDD_a:USB1::USB1:");
    query(2, "workgroup", "WORKGROUP");
    query(3, "codepage", "850");
    query(4, "share-name", "HDD_a");
    query(5, "ideok", "1");
    query(6, "bt-firmware", "2");
    query(7, "domain-longer-than-its-text", std::string(300, 'D'));
    query(8, "ssl", "1");
    // The static change is answered from the new address (written in by the script); an
    // answer from the old one does not count.
    seeds.write("commands", "static-address",
                Concat({{9, 0x00}, ScriptEvent(1 | kEventKeepAddress, 2, BuildSetAnswer({}, key)),
                        ScriptEvent(1, 3, BuildSetAnswer({}, key))}));
    seeds.write("commands", "dhcp-new-address",
                Concat({{10, 0x00}, ScriptEvent(1 | kEventKeepAddress, 2, BuildSetAnswer({}, KeyOf({10, 77, 2, 130})))}));
    for (std::uint8_t index = 11; index < 17; ++index)
        seeds.write("commands", "setting-" + std::to_string(index),
                    Concat({{index, static_cast<std::uint8_t>(index & 1)}, ScriptEvent(1, 2, BuildQueryAnswer({}, key, "x")),
                            ScriptEvent(1, 3, BuildSetAnswer({}, key))}));
}

void WriteRequests(SeedFolder& seeds) {
    const DeviceKeyBytes key = MakeDeviceKey({0x02, 0x00, 0x00, 0x00, 0x01, 0x10}, {10, 77, 1, 10});
    Bytes queries;
    for (const std::uint8_t subcode : {3, 6, 9, 11, 11, 12, 15, 18, 19, 42}) queries = Concat({queries, Record(1, test::QueryRequest(key, subcode))});
    seeds.write("request_parser", "search-and-queries", Concat({{0x03}, Record(0, test::SearchRequest()), queries}));
    seeds.write("request_parser", "logins", Concat({{0x00}, Record(1, test::LoginRequest(key, "admin", "secret")),
                                                   Record(1, test::LoginRequest(key, "admin", "wrong")),
                                                   Record(1, test::LoginRequest(key, "guest", ""))}));
    seeds.write("request_parser", "address-changes",
                Concat({{0x03}, Record(1, test::SetRequest(key, 1, "10.77.1.99", "255.255.0.0", "10.77.1.1")),
                        Record(1, test::SetRequest(key, 1, "999.1.1.1")), Record(1, test::DhcpRequest(key)),
                        Record(0, test::SearchRequest())}));
    // A codepage change makes the device restart: silent at first, answering a second later.
    seeds.write("request_parser", "restart", Concat({{0x02}, Record(1, test::SetRequest(key, 8, "950")), Record(1, test::QueryRequest(key, 9)),
                                                    Record(1 | (4 << 1), test::QueryRequest(key, 9)),
                                                    Record(1, test::SetRequest(key, 14, "BT"))}));
    seeds.write("request_parser", "settings", Concat({{0x03}, Record(1, test::SetRequest(key, 5, "p5")), Record(1, test::SetRequest(key, 7, "GROUP")),
                                                     Record(1, test::SetRequest(key, 10, "rw")), Record(1, test::SetRequest(key, 13, "stop")),
                                                     Record(1, test::SetRequest(key, 99, "?"))}));
}

void WriteCommandLines(SeedFolder& seeds) {
    seeds.write("cli_arguments", "discover", Words({"discover", "--json"}));
    seeds.write("cli_arguments", "query", Words({"query", "10.77.1.10", "volumes", "--json"}));
    seeds.write("cli_arguments", "login", Words({"login", "10.77.1.10", "--user", "admin", "--password-stdin"}));
    seeds.write("cli_arguments", "set", Words({"set", "10.77.1.10", "codepage", "850"}));
    seeds.write("cli_arguments", "set-static", Words({"set-static", "10.77.1.10", "10.77.1.99", "--netmask", "255.255.255.0",
                                                      "--gateway", "10.77.1.1", "--password-stdin"}));
    seeds.write("cli_arguments", "set-dhcp", Words({"set-dhcp", "10.77.2.30"}));
    seeds.write("cli_arguments", "map", Words({"map", "10.77.1.10", "USB1", "z", "--user", "e2euser", "--password-stdin", "--force"}));
    seeds.write("cli_arguments", "unmap", Words({"unmap", "Z:"}));
    seeds.write("cli_arguments", "web", Words({"web", "10.77.1.10", "--print"}));
    seeds.write("cli_arguments", "payload", Words({"payload", "215", "--output", "/tmp/p.bin"}));
    seeds.write("cli_arguments", "install-language", Words({"install-language", "10.77.1.60", "Traditional Chinese", "--no-restart-wait"}));
    seeds.write("cli_arguments", "install-bittorrent", Words({"install-bittorrent", "10.77.1.60", "--password-stdin"}));
    seeds.write("cli_arguments", "bad-address", Words({"query", "010.77.1.10", "ssl"}));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
        return 2;
    }
    SeedFolder seeds(argv[1]);
    WriteSearchAnswers(seeds);
    WriteSearches(seeds);
    WriteCommands(seeds);
    WriteRequests(seeds);
    WriteCommandLines(seeds);
    std::printf("%d seeds written to %s\n", seeds.count(), argv[1]);
    return seeds.ok() ? 0 : 1;
}
