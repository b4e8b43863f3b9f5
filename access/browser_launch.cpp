#include "access/browser_launch.h"

#include "platform/services.h"

namespace ofu {
namespace {

constexpr std::size_t kRegistryBufferLength = 120;

std::string Url(bool https, std::string_view deviceAddress) {
    std::string url = https ? "https://" : "http://";
    url.append(deviceAddress);
    return url;
}

std::string BrowserCommandKey(std::string_view browserName) {
    std::string key(platform::kBrowserCommandKeyFormat);
    key.replace(key.find("%s"), 2, browserName);
    return key;
}

}  // namespace

std::string ReadRegistryString(platform::RegistryRoot root, std::string_view path, std::string_view valueName) {
    return platform::Settings().QueryString(root, path, valueName, kRegistryBufferLength).value_or(std::string());
}

bool UsesHttps(std::string_view sslSetting) { return sslSetting.find('1') != std::string_view::npos; }

std::string ExplorerCommandLine(bool https, std::string_view deviceAddress) {
    return "explorer " + Url(https, deviceAddress);
}

std::string BrowserCommandLine(bool https, std::string_view deviceAddress) {
    const std::string browser =
        ReadRegistryString(platform::RegistryRoot::LocalMachine, platform::kStartMenuInternetKey, "");
    if (browser.find("IE") != std::string::npos) return ExplorerCommandLine(https, deviceAddress);
    const std::string command =
        ReadRegistryString(platform::RegistryRoot::LocalMachine, BrowserCommandKey(browser), "");
    return command + " " + Url(https, deviceAddress);
}

unsigned StartBrowser(const std::string& commandLine, bool https, std::string_view deviceAddress) {
    const unsigned result = platform::Launcher().WinExec(commandLine, platform::kSwHide);
    if (result == platform::kExecFileNotFound || result == platform::kExecPathNotFound ||
        result == platform::kExecBadFormat)
        return platform::Launcher().WinExec(ExplorerCommandLine(https, deviceAddress), platform::kSwHide);
    return result;
}

}  // namespace ofu
