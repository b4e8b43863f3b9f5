// The command line of ofu-devsim.
#pragma once

#include <string>

namespace ofu::devsim {

struct CommandLine {
    std::string configPath;
    std::string journalPath;
    std::string link;       // "dev1", "dev2" or empty for every device
    std::string readyFile;
    // An applied address change moves the device's address in this network namespace: the
    // new one is added (as /32, on the interface that held the old one or carried the
    // request) and the old one removed. Only for a namespace of the lab's own.
    bool moveAddresses = false;
    bool help = false;
    bool version = false;
    std::string error;      // empty when the command line is usable
};

// Options take their value as the next argument or after "=" (--config=FILE).
CommandLine ParseCommandLine(int argc, const char* const* argv);

extern const char* const kUsageText;

}  // namespace ofu::devsim
