#include "command_line.h"

#include <string_view>

namespace ofu::devsim {

const char* const kUsageText =
    "usage: ofu-devsim --config FILE [--journal FILE] [--link dev1|dev2] [--ready-file PATH]\n"
    "                  [--move-addresses]\n"
    "\n"
    "Serves the simulated storage devices of FILE on UDP port 13579 (group 224.0.0.1).\n"
    "  --config FILE      the devices (JSON, see docs/devsim.md)\n"
    "  --journal FILE     append one JSON line per request and answer to FILE\n"
    "  --link dev1|dev2   serve only the devices on that link or on \"both\"\n"
    "  --ready-file PATH  write PATH once the socket is bound\n"
    "  --move-addresses   move a device's address on this namespace's interfaces when a\n"
    "                     static or DHCP change gives it another one (needs CAP_NET_ADMIN;\n"
    "                     only in a network namespace of its own, such as the lab's)\n"
    "  --help             show this text\n"
    "  --version          show the version\n"
    "Stops on SIGTERM or SIGINT.\n";

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    struct Option {
        std::string_view name;
        std::string* value;
    };
    const Option options[] = {
        {"--config", &line.configPath},
        {"--journal", &line.journalPath},
        {"--link", &line.link},
        {"--ready-file", &line.readyFile},
    };
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            line.help = true;
            continue;
        }
        if (arg == "--version") {
            line.version = true;
            continue;
        }
        if (arg == "--move-addresses") {
            line.moveAddresses = true;
            continue;
        }
        const Option* match = nullptr;
        std::string_view inlineValue;
        bool hasInline = false;
        for (const auto& option : options) {
            if (arg == option.name) {
                match = &option;
            } else if (arg.starts_with(option.name) && arg.size() > option.name.size() &&
                       arg[option.name.size()] == '=') {
                match = &option;
                inlineValue = arg.substr(option.name.size() + 1);
                hasInline = true;
            }
        }
        if (!match) {
            line.error = "unknown argument \"" + std::string(arg) + "\"";
            return line;
        }
        if (hasInline) {
            *match->value = std::string(inlineValue);
        } else if (i + 1 < argc) {
            *match->value = argv[++i];
        } else {
            line.error = std::string(match->name) + " needs a value";
            return line;
        }
        if (match->value->empty()) {
            line.error = std::string(match->name) + " needs a non-empty value";
            return line;
        }
    }
    if (line.help || line.version) return line;
    if (line.configPath.empty()) {
        line.error = "--config FILE is required";
    } else if (!line.link.empty() && line.link != "dev1" && line.link != "dev2") {
        line.error = "--link must be dev1 or dev2, not \"" + line.link + "\"";
    }
    return line;
}

}  // namespace ofu::devsim
