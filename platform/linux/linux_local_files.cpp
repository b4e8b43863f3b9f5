#include "platform/linux/linux_local_files.h"

#include "platform/linux/desktop_environment.h"

#include <sys/stat.h>

#include <cerrno>
#include <vector>

namespace ofu::platform {
namespace {

constexpr std::string_view kDriveFolder = "/ostrel-ferrow-utility/drive_c";

// The parts of a path on drive C ("C:\bt\bt" -> bt, bt); empty for any other path or one
// with an empty, "." or ".." part.
std::vector<std::string_view> DriveCParts(std::string_view path) {
    std::vector<std::string_view> parts;
    if (path.size() < 4 || (path[0] != 'C' && path[0] != 'c') || path[1] != ':' || (path[2] != '\\' && path[2] != '/'))
        return parts;
    if (path.find('\0') != std::string_view::npos) return parts;
    std::string_view rest = path.substr(3);
    while (true) {
        const std::size_t separator = rest.find_first_of("\\/");
        const std::string_view part = rest.substr(0, separator);
        if (part.empty() || part == "." || part == "..") return {};
        parts.push_back(part);
        if (separator == std::string_view::npos) break;
        rest.remove_prefix(separator + 1);
    }
    return parts;
}

// The folder that stands for drive C; empty when this user has no data folder.
std::string DriveCFolder() {
    const std::string dataHome = desktop::CurrentDesktopEnvironment().dataHome;
    return dataHome.empty() ? std::string() : dataHome + std::string(kDriveFolder);
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// An existing folder is kept as it is; a new one is for this user only.
bool MakeFolder(const std::string& path) {
    if (IsFolder(path)) return true;
    if (::mkdir(path.c_str(), 0700) == 0) return true;
    return errno == EEXIST && IsFolder(path);  // made by someone else meanwhile
}

}  // namespace

std::string LinuxLocalFiles::HostPath(std::string_view windowsPath) {
    const std::vector<std::string_view> parts = DriveCParts(windowsPath);
    if (parts.empty()) return {};
    std::string path = DriveCFolder();
    if (path.empty()) return {};
    for (const std::string_view part : parts) path.append("/").append(part);
    return path;
}

bool LinuxLocalFiles::PrepareFolders(std::string_view windowsPath) {
    const std::string path = HostPath(windowsPath);
    if (path.empty()) return false;
    // Every folder from the top down to the file's own, the data folder and drive C included.
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        if (!MakeFolder(path.substr(0, slash))) return false;
    return true;
}

}  // namespace ofu::platform
