#include "tools/ofu/cli_arguments.h"

#include "addons/codepage_plans.h"
#include "addons/payload_catalogue.h"
#include "protocol/device_list.h"

#include <array>
#include <vector>

namespace ofu::cli {

const char* const kUsage =
    "Usage:\n"
    "  ofu discover [--json]\n"
    "  ofu query ADDRESS volumes|workgroup|codepage|sharename|ideok|bt-firmware|domain|ssl [--json]\n"
    "  ofu login ADDRESS [--user NAME] [--password-stdin]\n"
    "  ofu set ADDRESS workgroup|codepage|access-mode|addon-name|install-control|param5 VALUE\n"
    "  ofu set-static ADDRESS NEW-ADDRESS --netmask MASK [--gateway GW] [--password-stdin]\n"
    "  ofu set-dhcp ADDRESS [--password-stdin]\n"
    "  ofu drives [--json]\n"
    "  ofu map ADDRESS VOLUME DRIVE [--user NAME] [--password-stdin] [--force]\n"
    "  ofu unmap DRIVE\n"
    "  ofu web ADDRESS [--print]\n"
    "  ofu payloads [--json]\n"
    "  ofu payload ID --output FILE\n"
    "  ofu install-language ADDRESS LANGUAGE [--no-restart-wait]\n"
    "  ofu install-bittorrent ADDRESS [--password-stdin] [--no-restart-wait]\n"
    "  ofu --help | --version\n"
    "\n"
    "Finds the storage devices on every local network (UDP multicast 224.0.0.1, port 13579)\n"
    "and talks to one of them. ADDRESS is the device's address as `ofu discover` lists it.\n"
    "set-static and set-dhcp log in as \"admin\" first (password from standard input with\n"
    "--password-stdin, empty otherwise).\n"
    "\n"
    "drives lists the drive letters that can hold a share (* marks the first free one). map\n"
    "connects DRIVE (like Z:) to the device's VOLUME with your session's credentials, then with\n"
    "--user and the password from standard input; a letter in use needs --force. web checks\n"
    "that the device's web page answers and opens it in your default browser.\n"
    "\n"
    "payloads lists the files the utility carries for devices; payload writes one to FILE.\n"
    "install-language copies the files of LANGUAGE (a codepage such as 950, or a name such as\n"
    "\"Traditional Chinese\") onto the device and sets its codepage; install-bittorrent installs\n"
    "the BitTorrent add-on after the administrator login. Both then wait the 90 s the device\n"
    "takes to restart, unless --no-restart-wait.\n"
    "\n"
    "Exit status: 0 success; 1 device not found, refused or silent; 2 usage error.\n";

namespace {

constexpr std::array<std::string_view, 8> kQueryItems = {
    "volumes", "workgroup", "codepage", "sharename", "ideok", "bt-firmware", "domain", "ssl"};
constexpr std::array<std::string_view, 6> kSetItems = {
    "workgroup", "codepage", "access-mode", "addon-name", "install-control", "param5"};

template <std::size_t N>
bool OneOf(std::string_view word, const std::array<std::string_view, N>& words) {
    for (std::string_view w : words)
        if (w == word) return true;
    return false;
}

ParsedCommandLine Fail(std::string message) { return {std::nullopt, std::move(message)}; }

std::string AddressError(std::string_view what, std::string_view text) {
    return std::string(what) + " '" + std::string(text) +
           "' is not a dotted IPv4 address (four numbers 0 to 255, like 10.77.1.20)";
}

bool IsContiguousNetmask(std::string_view text) {
    std::array<std::uint8_t, 4> octets{};
    if (!DottedQuadToBytes(text, octets)) return false;
    const std::uint32_t mask = static_cast<std::uint32_t>(octets[0]) << 24 |
                               static_cast<std::uint32_t>(octets[1]) << 16 |
                               static_cast<std::uint32_t>(octets[2]) << 8 | octets[3];
    return mask != 0 && ((~mask) & ((~mask) + 1)) == 0;
}

}  // namespace

std::string NormalisedDrive(std::string_view text) {
    if (text.empty() || text.size() > 2 || (text.size() == 2 && text[1] != ':')) return {};
    char letter = text[0];
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
    if (letter < 'A' || letter > 'Z') return {};
    return std::string{letter, ':'};
}

namespace {

// A volume is a share name on the device: one path part, no control characters.
std::string VolumeProblem(std::string_view volume) {
    if (volume.empty()) return "the volume name is empty";
    if (volume.size() > 255) return "the volume name holds at most 255 characters";
    for (const char c : volume) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '\\' || c == '/')
            return "volume name '" + std::string(volume) + "' may not hold slashes, backslashes or control characters";
    }
    return {};
}

std::string DriveError(std::string_view text) {
    return "drive '" + std::string(text) + "' is not a drive letter (like Z:)";
}

}  // namespace

bool IsPlainDottedAddress(std::string_view text) {
    std::array<std::uint8_t, 4> octets{};
    return DottedQuadToBytes(text, octets) && BytesToDottedQuad(octets) == text;
}

ParsedCommandLine ParseCommandLine(std::span<const std::string_view> args) {
    CliRequest request;
    std::vector<std::string_view> words;
    for (std::size_t k = 0; k < args.size(); ++k) {
        const std::string_view arg = args[k];
        if (arg == "--help" || arg == "-h") return {CliRequest{}, {}};
        if (arg == "--version") {
            CliRequest version;
            version.verb = Verb::Version;
            return {version, {}};
        }
        if (arg == "--json") {
            request.json = true;
        } else if (arg == "--password-stdin") {
            request.passwordFromStdin = true;
        } else if (arg == "--force") {
            request.force = true;
        } else if (arg == "--print") {
            request.printOnly = true;
        } else if (arg == "--no-restart-wait") {
            request.noRestartWait = true;
        } else if (arg == "--output") {
            if (k + 1 >= args.size()) return Fail("--output needs a file");
            request.output = std::string(args[++k]);
        } else if (arg == "--user" || arg == "--netmask" || arg == "--gateway") {
            if (k + 1 >= args.size()) return Fail(std::string(arg) + " needs a value");
            if (arg == "--user")
                request.user = std::string(args[++k]);
            else
                (arg == "--netmask" ? request.netmask : request.gateway) = std::string(args[++k]);
        } else if (arg.size() > 1 && arg[0] == '-') {
            return Fail("unknown option " + std::string(arg));
        } else {
            words.push_back(arg);
        }
    }
    if (words.empty()) return Fail("no command given");

    const std::string_view verb = words[0];
    const auto expectWords = [&](std::size_t count) -> std::string {
        if (words.size() < count) return "'" + std::string(verb) + "' needs more arguments";
        if (words.size() > count) return "unexpected argument '" + std::string(words[count]) + "'";
        return {};
    };
    std::string problem;
    if (verb == "discover") {
        request.verb = Verb::Discover;
        problem = expectWords(1);
    } else if (verb == "query") {
        request.verb = Verb::Query;
        problem = expectWords(3);
        if (problem.empty() && !OneOf(words[2], kQueryItems))
            problem = "unknown query item '" + std::string(words[2]) + "'";
    } else if (verb == "login") {
        request.verb = Verb::Login;
        problem = expectWords(2);
    } else if (verb == "set") {
        request.verb = Verb::Set;
        problem = expectWords(4);
        if (problem.empty() && !OneOf(words[2], kSetItems))
            problem = "unknown setting '" + std::string(words[2]) + "'";
    } else if (verb == "set-static") {
        request.verb = Verb::SetStatic;
        problem = expectWords(3);
        if (problem.empty() && request.netmask.empty()) problem = "set-static needs --netmask MASK";
    } else if (verb == "set-dhcp") {
        request.verb = Verb::SetDhcp;
        problem = expectWords(2);
    } else if (verb == "drives") {
        request.verb = Verb::Drives;
        problem = expectWords(1);
    } else if (verb == "map") {
        request.verb = Verb::Map;
        problem = expectWords(4);
    } else if (verb == "unmap") {
        request.verb = Verb::Unmap;
        problem = expectWords(2);
    } else if (verb == "web") {
        request.verb = Verb::Web;
        problem = expectWords(2);
    } else if (verb == "payloads") {
        request.verb = Verb::Payloads;
        problem = expectWords(1);
    } else if (verb == "payload") {
        request.verb = Verb::Payload;
        problem = expectWords(2);
    } else if (verb == "install-language") {
        request.verb = Verb::InstallLanguage;
        problem = expectWords(3);
    } else if (verb == "install-bittorrent") {
        request.verb = Verb::InstallBitTorrent;
        problem = expectWords(2);
    } else {
        return Fail("unknown command '" + std::string(verb) + "'");
    }
    if (!problem.empty()) return Fail(problem);
    const Verb v = request.verb;
    if (request.json && v != Verb::Discover && v != Verb::Query && v != Verb::Drives && v != Verb::Payloads)
        return Fail("--json applies to discover, query, drives and payloads only");
    if (request.passwordFromStdin && v != Verb::Login && v != Verb::SetStatic && v != Verb::SetDhcp &&
        v != Verb::Map && v != Verb::InstallBitTorrent)
        return Fail("--password-stdin applies to login, set-static, set-dhcp, map and install-bittorrent only");
    if (request.noRestartWait && v != Verb::InstallLanguage && v != Verb::InstallBitTorrent)
        return Fail("--no-restart-wait applies to install-language and install-bittorrent only");
    if (!request.output.empty() && v != Verb::Payload) return Fail("--output applies to payload only");
    if (request.user && v != Verb::Login && v != Verb::Map) return Fail("--user applies to login and map only");
    if (request.user && request.user->size() > 16) return Fail("the user name holds at most 16 characters");
    if (v == Verb::Map && request.passwordFromStdin && !request.user)
        return Fail("map reads a password only for the user given with --user");
    if (request.force && v != Verb::Map) return Fail("--force applies to map only");
    if (request.printOnly && v != Verb::Web) return Fail("--print applies to web only");
    if ((!request.netmask.empty() || !request.gateway.empty()) && v != Verb::SetStatic)
        return Fail("--netmask and --gateway apply to set-static only");

    if (v == Verb::Discover || v == Verb::Drives || v == Verb::Payloads) return {request, {}};
    if (v == Verb::Payload) {
        const std::string id(words[1]);
        const bool digits = !id.empty() && id.size() <= 5 && id.find_first_not_of("0123456789") == std::string::npos;
        request.payloadId = digits ? std::stoi(id) : -1;
        bool known = false;
        for (const PayloadEntry& entry : PayloadCatalogue()) known = known || entry.id == request.payloadId;
        if (!known) return Fail("'" + id + "' is no payload id (ofu payloads lists them)");
        if (request.output.empty()) return Fail("payload needs --output FILE");
        return {request, {}};
    }
    if (v == Verb::Unmap) {
        request.drive = NormalisedDrive(words[1]);
        if (request.drive.empty()) return Fail(DriveError(words[1]));
        return {request, {}};
    }
    request.address = std::string(words[1]);
    if (!IsPlainDottedAddress(request.address)) return Fail(AddressError("device address", request.address));
    if (words.size() > 2) request.item = std::string(words[2]);
    if (request.verb == Verb::Set) request.value = std::string(words[3]);
    if (request.verb == Verb::InstallLanguage) {
        request.item.clear();
        request.languageIndex = FindCodepagePlan(words[2]);
        if (request.languageIndex < 0) {
            std::string known;
            for (const CodepagePlan& plan : CodepagePlans())
                known += (known.empty() ? "" : ", ") + std::string(plan.codepageName) + " " + std::string(plan.entry);
            return Fail("unknown language '" + std::string(words[2]) + "' (one of: " + known + ")");
        }
    }
    if (request.verb == Verb::Map) {
        request.item.clear();
        request.volume = std::string(words[2]);
        if (const std::string problem2 = VolumeProblem(request.volume); !problem2.empty()) return Fail(problem2);
        request.drive = NormalisedDrive(words[3]);
        if (request.drive.empty()) return Fail(DriveError(words[3]));
        if (request.drive == "A:" || request.drive == "B:")
            return Fail("drive " + request.drive + " is never used for shares (use C: to Z:)");
    }
    if (request.verb == Verb::SetStatic) {
        request.newAddress = std::string(words[2]);
        request.item.clear();
        if (!IsPlainDottedAddress(request.newAddress))
            return Fail(AddressError("new address", request.newAddress));
        if (!IsContiguousNetmask(request.netmask))
            return Fail("netmask '" + request.netmask + "' is not a contiguous IPv4 netmask (like 255.255.255.0)");
        if (!request.gateway.empty() && !IsPlainDottedAddress(request.gateway))
            return Fail(AddressError("gateway", request.gateway));
    }
    return {request, {}};
}

}  // namespace ofu::cli
