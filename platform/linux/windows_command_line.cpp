#include "platform/linux/windows_command_line.h"

namespace ofu::platform::windows_cmd {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

void AppendQuotedArgument(std::string& line, std::string_view argument) {
    const bool plain = !argument.empty() && argument.find_first_of(" \t\"") == std::string_view::npos;
    if (plain) {
        line.append(argument);
        return;
    }
    line.push_back('"');
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled and the quote escaped; elsewhere they stay.
        line.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        line.push_back(c);
    }
    line.append(backslashes * 2, '\\');  // they stand before the closing quote
    line.push_back('"');
}

}  // namespace

CommandLine SplitCommandLine(std::string_view line) {
    CommandLine result;
    std::string_view rest;
    if (!line.empty() && line.front() == '"') {
        const std::size_t close = line.find('"', 1);
        result.program = std::string(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
        rest = close == std::string_view::npos ? std::string_view() : line.substr(close + 1);
    } else {
        const std::size_t blank = line.find_first_of(" \t");
        result.program = std::string(line.substr(0, blank));
        rest = blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
    }
    result.arguments = SplitArguments(rest);
    return result;
}

std::vector<std::string> SplitArguments(std::string_view text) {
    std::vector<std::string> arguments;
    std::size_t k = 0;
    while (true) {
        while (k < text.size() && IsBlank(text[k])) ++k;
        if (k >= text.size()) break;
        std::string argument;
        bool quoted = false;
        while (k < text.size() && (quoted || !IsBlank(text[k]))) {
            const char c = text[k];
            if (c == '\\') {
                std::size_t backslashes = 0;
                while (k < text.size() && text[k] == '\\') {
                    ++backslashes;
                    ++k;
                }
                if (k < text.size() && text[k] == '"') {
                    argument.append(backslashes / 2, '\\');
                    if (backslashes % 2 == 1) {
                        argument.push_back('"');
                        ++k;
                    }
                    // An even count leaves the quote to open or close quoting below.
                } else {
                    argument.append(backslashes, '\\');
                }
            } else if (c == '"') {
                if (quoted && k + 1 < text.size() && text[k + 1] == '"') {
                    argument.push_back('"');
                    k += 2;
                } else {
                    quoted = !quoted;
                    ++k;
                }
            } else {
                argument.push_back(c);
                ++k;
            }
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

std::optional<std::string> JoinCommandLine(const std::vector<std::string>& argv) {
    if (argv.empty() || argv.front().empty() || argv.front().find('"') != std::string::npos) return std::nullopt;
    const std::string& program = argv.front();
    std::string line;
    if (program.find_first_of(" \t") != std::string::npos)
        line.append("\"").append(program).append("\"");
    else
        line.append(program);
    for (std::size_t k = 1; k < argv.size(); ++k) {
        line.push_back(' ');
        AppendQuotedArgument(line, argv[k]);
    }
    return line;
}

}  // namespace ofu::platform::windows_cmd
