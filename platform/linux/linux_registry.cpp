#include "platform/linux/linux_registry.h"

#include "platform/linux/default_handler.h"
#include "platform/linux/windows_command_line.h"
#include "base/ascii_case.h"

namespace ofu::platform {
namespace {

constexpr std::string_view kWebScheme = "x-scheme-handler/http";
constexpr std::string_view kCommandKeySuffix = "\\shell\\open\\command";

std::optional<desktop::DesktopApp> DefaultBrowser() {
    return desktop::FindDefaultApp(kWebScheme, desktop::CurrentDesktopEnvironment(), desktop::SystemDesktopFiles());
}

// The browser name in "Software\Clients\StartMenuInternet\NAME\shell\open\command" (any
// case), or nullopt for any other key.
std::optional<std::string_view> BrowserNameInCommandKey(std::string_view path) {
    const std::size_t prefix = kStartMenuInternetKey.size() + 1;
    if (path.size() <= prefix + kCommandKeySuffix.size()) return std::nullopt;
    if (!EqualsIgnoringAsciiCase(path.substr(0, kStartMenuInternetKey.size()), kStartMenuInternetKey) ||
        path[kStartMenuInternetKey.size()] != '\\' ||
        !EqualsIgnoringAsciiCase(path.substr(path.size() - kCommandKeySuffix.size()), kCommandKeySuffix))
        return std::nullopt;
    return path.substr(prefix, path.size() - prefix - kCommandKeySuffix.size());
}

// The browser's command line without a URL: its Exec line with no target filled in.
std::optional<std::string> BrowserCommandLine(const desktop::DesktopApp& browser) {
    const auto argv = desktop::AppCommand(browser, std::nullopt);
    if (!argv) return std::nullopt;
    return windows_cmd::JoinCommandLine(*argv);
}

}  // namespace

std::optional<std::string> LinuxRegistry::QueryString(RegistryRoot root, std::string_view path,
                                                      std::string_view valueName, std::size_t bufferLength) {
    if (root != RegistryRoot::LocalMachine || !valueName.empty()) return std::nullopt;
    std::optional<std::string> value;
    if (EqualsIgnoringAsciiCase(path, kStartMenuInternetKey)) {
        if (const auto browser = DefaultBrowser()) value = browser->id;
    } else if (const auto name = BrowserNameInCommandKey(path)) {
        const auto browser = DefaultBrowser();
        if (browser && EqualsIgnoringAsciiCase(*name, browser->id)) value = BrowserCommandLine(*browser);
    }
    if (!value || value->size() + 1 > bufferLength) return std::nullopt;
    return value;
}

}  // namespace ofu::platform
