// The Windows command-line splitting and joining. Splitting any line never fails, and
// joining is its inverse: a line split, joined and split again gives the same program and
// arguments, and so does any argument vector (the input split at zero bytes) joined and
// split.
#include "fuzz/support/fuzz_input.h"
#include "platform/linux/windows_command_line.h"

#include <string>
#include <vector>

namespace {

using namespace ofu::platform::windows_cmd;

// Joins `argv` and checks that splitting the line gives it back, when a line can carry it.
void CheckRoundTrip(const std::vector<std::string>& argv) {
    const std::optional<std::string> line = JoinCommandLine(argv);
    const bool joinable = !argv.empty() && !argv.front().empty() && argv.front().find('"') == std::string::npos;
    OFU_FUZZ_CHECK(line.has_value() == joinable);
    if (!line) return;
    const CommandLine split = SplitCommandLine(*line);
    OFU_FUZZ_CHECK(split.program == argv.front());
    OFU_FUZZ_CHECK(split.arguments == std::vector<std::string>(argv.begin() + 1, argv.end()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = ofu::fuzz::AsText({data, size});

    const CommandLine line = SplitCommandLine(text);
    std::vector<std::string> argv{line.program};
    argv.insert(argv.end(), line.arguments.begin(), line.arguments.end());
    CheckRoundTrip(argv);

    std::vector<std::string> words;
    std::string_view rest = text;
    while (!rest.empty() && words.size() < 64) {
        const std::size_t zero = rest.find('\0');
        words.emplace_back(rest.substr(0, zero));
        rest.remove_prefix(zero == std::string_view::npos ? rest.size() : zero + 1);
    }
    CheckRoundTrip(words);
    return 0;
}
