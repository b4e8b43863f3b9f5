#include "protocol/trace.h"

#include <cstdio>
#include <string>

namespace ofu {
namespace {

std::function<void(std::string_view)>& Sink() {
    static std::function<void(std::string_view)> sink;
    return sink;
}

}  // namespace

void WriteTrace(std::string_view name, std::string_view value) {
    std::string line;
    line.reserve(name.size() + value.size() + 2);
    line.append(name).append("=");
    // The value is the device's text and the line goes to a console: a control character
    // from it (a line break, an escape sequence) would act on the terminal, so it becomes '?'.
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        line.push_back(byte < 0x20 || byte == 0x7F ? '?' : c);
    }
    line.append("\n");
    if (Sink()) {
        Sink()(line);
        return;
    }
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

void SetTraceSink(std::function<void(std::string_view line)> sink) { Sink() = std::move(sink); }

}  // namespace ofu
