#include "platform/linux/desktop_environment.h"

#include "platform/linux/home_folder.h"

#include <cstdlib>

namespace ofu::platform::desktop {
namespace {

bool IsAbsolute(std::string_view path) { return !path.empty() && path.front() == '/'; }

std::vector<std::string> SplitColons(std::string_view text) {
    std::vector<std::string> parts;
    while (true) {
        const std::size_t colon = text.find(':');
        parts.emplace_back(text.substr(0, colon));
        if (colon == std::string_view::npos) break;
        text.remove_prefix(colon + 1);
    }
    return parts;
}

std::string Folder(const EnvironmentLookup& lookup, const char* name, const std::string& home, const char* below) {
    const std::optional<std::string> value = lookup(name);
    if (value && IsAbsolute(*value)) return *value;
    return home.empty() ? std::string() : home + below;
}

std::vector<std::string> FolderList(const EnvironmentLookup& lookup, const char* name, std::string_view defaults) {
    std::vector<std::string> folders;
    if (const std::optional<std::string> value = lookup(name))
        for (std::string& part : SplitColons(*value))
            if (IsAbsolute(part)) folders.push_back(std::move(part));
    if (folders.empty()) folders = SplitColons(defaults);
    return folders;
}

std::string LowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

}  // namespace

DesktopEnvironment DesktopEnvironmentFrom(const EnvironmentLookup& lookup, const std::string& home) {
    DesktopEnvironment environment;
    environment.configHome = Folder(lookup, "XDG_CONFIG_HOME", home, "/.config");
    environment.configDirs = FolderList(lookup, "XDG_CONFIG_DIRS", "/etc/xdg");
    environment.dataHome = Folder(lookup, "XDG_DATA_HOME", home, "/.local/share");
    environment.dataDirs = FolderList(lookup, "XDG_DATA_DIRS", "/usr/local/share:/usr/share");
    if (const std::optional<std::string> desktops = lookup("XDG_CURRENT_DESKTOP"))
        for (std::string& name : SplitColons(*desktops))
            // A name is part of a file name: one with a slash would lead elsewhere.
            if (!name.empty() && name.find('/') == std::string::npos)
                environment.desktopNames.push_back(LowerAscii(std::move(name)));
    // posix_spawnp searches its own default when PATH is unset.
    environment.programPath = SplitColons(lookup("PATH").value_or("/bin:/usr/bin"));
    return environment;
}

DesktopEnvironment CurrentDesktopEnvironment() {
    const EnvironmentLookup lookup = [](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        if (value == nullptr) return std::nullopt;
        return std::string(value);
    };
    return DesktopEnvironmentFrom(lookup, linux_files::UserHomeFolder());
}

std::vector<std::string> MimeAppsListPaths(const DesktopEnvironment& environment) {
    std::vector<std::string> folders;
    if (!environment.configHome.empty()) folders.push_back(environment.configHome);
    folders.insert(folders.end(), environment.configDirs.begin(), environment.configDirs.end());
    for (const std::string& folder : ApplicationFolders(environment)) folders.push_back(folder);
    std::vector<std::string> paths;
    for (const std::string& folder : folders) {
        for (const std::string& desktop : environment.desktopNames)
            paths.push_back(folder + "/" + desktop + "-mimeapps.list");
        paths.push_back(folder + "/mimeapps.list");
    }
    return paths;
}

std::vector<std::string> ApplicationFolders(const DesktopEnvironment& environment) {
    std::vector<std::string> folders;
    if (!environment.dataHome.empty()) folders.push_back(environment.dataHome + "/applications");
    for (const std::string& folder : environment.dataDirs) folders.push_back(folder + "/applications");
    return folders;
}

std::vector<std::string> MimeSubclassPaths(const DesktopEnvironment& environment) {
    std::vector<std::string> paths;
    if (!environment.dataHome.empty()) paths.push_back(environment.dataHome + "/mime/subclasses");
    for (const std::string& folder : environment.dataDirs) paths.push_back(folder + "/mime/subclasses");
    return paths;
}

}  // namespace ofu::platform::desktop
