// The command line of ofu-devsim.
#pragma once

#include <string>

namespace ofu::devsim {

struct CommandLine {
    std::string configPath;
    std::string journalPath;
    std::string link;       // "dev1", "dev2" or empty for every device
    std::string readyFile;
    bool help = false;
    bool version = false;
    std::string error;      // empty when the command line is usable
};

// Options take their value as the next argument or after "=" (--config=FILE).
CommandLine ParseCommandLine(int argc, const char* const* argv);

extern const char* const kUsageText;

}  // namespace ofu::devsim
