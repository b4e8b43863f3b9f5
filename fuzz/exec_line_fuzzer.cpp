// Desktop files and their Exec lines. The input is read as a desktop file (and its whole
// text as an Exec line as well); the Exec line is expanded for no target, a web address and
// a local file. Whatever the text, an expansion starts a named program and puts a target in
// whole, and re-quoting the split words by the desktop-entry rules gives the same words back.
#include "fuzz/support/fuzz_input.h"
#include "platform/linux/desktop_entry.h"
#include "platform/linux/exec_line.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace ofu::platform::desktop;

// Each word in double quotes, with the four characters that need it escaped.
std::string Requoted(const std::vector<std::string>& words) {
    std::string line;
    for (const std::string& word : words) {
        if (!line.empty()) line.push_back(' ');
        line.push_back('"');
        for (const char c : word) {
            if (c == '"' || c == '`' || c == '$' || c == '\\') line.push_back('\\');
            line.push_back(c);
        }
        line.push_back('"');
    }
    return line;
}

void CheckSplit(std::string_view exec) {
    const auto words = SplitExecLine(exec);
    if (!words) return;
    OFU_FUZZ_CHECK(SplitExecLine(Requoted(*words)) == words);
}

void CheckExpansion(std::string_view exec, const ExecEntryValues& values, const std::optional<ExecTarget>& target) {
    const auto expanded = ExpandExecLine(exec, values, target);
    if (!expanded) return;
    OFU_FUZZ_CHECK(!expanded->argv.empty() && !expanded->argv.front().empty());
    if (!target) return;
    // A target given as a whole word arrives as one whole argument, never split.
    const auto words = SplitExecLine(exec);
    OFU_FUZZ_CHECK(words.has_value());
    for (const char* code : {"%u", "%U"}) {
        if (std::find(words->begin(), words->end(), code) == words->end()) continue;
        OFU_FUZZ_CHECK(std::find(expanded->argv.begin(), expanded->argv.end(), target->uri) != expanded->argv.end());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = ofu::fuzz::AsText({data, size});
    CheckSplit(text);

    const std::optional<DesktopEntry> entry = ParseDesktopEntry(text);
    const std::string_view exec = entry ? std::string_view(entry->exec) : text;
    const ExecEntryValues values = entry ? ExecEntryValues{entry->icon, entry->name, "/usr/share/applications/fuzz.desktop"}
                                         : ExecEntryValues{"icon", "Name", "/tmp/fuzz.desktop"};
    if (entry) CheckSplit(exec);
    CheckExpansion(exec, values, std::nullopt);
    CheckExpansion(exec, values, ExecTarget{"http://10.77.1.10/index.html?a=1&b=2 \"$(id)\"", ""});
    CheckExpansion(exec, values, ExecTarget{"file:///tmp/a%20b.txt", "/tmp/a b.txt"});
    return 0;
}
