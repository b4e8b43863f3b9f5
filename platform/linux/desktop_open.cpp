#include "platform/linux/desktop_open.h"

#include "platform/linux/content_type.h"
#include "platform/linux/default_handler.h"
#include "platform/linux/process_start.h"

#include <sys/stat.h>

#include <filesystem>

namespace ofu::platform::desktop {
namespace {

bool IsSchemeCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' || c == '-' ||
           c == '.';
}

// The URL's scheme, lowercased; empty for text that is no URL. One letter before the colon
// is a drive ("C:\..."), not a scheme.
std::string SchemeOf(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon < 2) return {};
    const char first = text.front();
    if (!((first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z'))) return {};
    std::string scheme;
    for (const char c : text.substr(0, colon)) {
        if (!IsSchemeCharacter(c)) return {};
        scheme.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    }
    return scheme;
}

OpenResult Start(const DesktopApp& app, const ExecTarget& target, const std::string& workingFolder) {
    const auto argv = AppCommand(app, target);
    if (!argv) return {OpenOutcome::NoHandler, 0};
    const unsigned code = linux_exec::StartProgram(*argv, workingFolder);
    if (code != linux_exec::kStarted) return {OpenOutcome::NotStarted, code};
    return {OpenOutcome::Started, code};
}

}  // namespace

OpenResult OpenLocalFile(const std::string& path, const std::string& workingFolder) {
    if (path.empty() || path.find('\0') != std::string::npos) return {OpenOutcome::Missing, 0};
    std::error_code error;
    const std::string absolute = std::filesystem::absolute(path, error).string();
    struct stat info {};
    if (error || ::stat(absolute.c_str(), &info) != 0) return {OpenOutcome::Missing, 0};

    const DesktopEnvironment environment = CurrentDesktopEnvironment();
    const auto app = FindAppForContentType(GuessMimeType(absolute), environment, SystemDesktopFiles());
    if (!app) return {OpenOutcome::NoHandler, 0};
    return Start(*app, {FileUri(absolute), absolute}, workingFolder);
}

OpenResult OpenUrlOrPath(std::string_view text) {
    const std::string scheme = SchemeOf(text);
    if (scheme.empty()) return OpenLocalFile(std::string(text));
    const std::string url(text);
    if (scheme == "file") {
        const std::string path = PathOfFileUri(url);
        return path.empty() ? OpenResult{OpenOutcome::Missing, 0} : OpenLocalFile(path);
    }
    const DesktopEnvironment environment = CurrentDesktopEnvironment();
    const auto app = FindDefaultApp("x-scheme-handler/" + scheme, environment, SystemDesktopFiles());
    if (!app) return {OpenOutcome::NoHandler, 0};
    return Start(*app, {url, {}}, {});
}

}  // namespace ofu::platform::desktop
