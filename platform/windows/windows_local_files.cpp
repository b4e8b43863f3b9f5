#include "platform/windows/windows_local_files.h"

#include <direct.h>
#include <sys/stat.h>

#include <cerrno>

namespace ofu::platform {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// An absolute path on drive C ("C:\bt\bt") whose parts are names: none empty, "." or "..",
// and no zero inside.
bool IsDriveCPath(std::string_view path) {
    if (path.size() < 4 || (path[0] != 'C' && path[0] != 'c') || path[1] != ':' || !IsSeparator(path[2]))
        return false;
    if (path.find('\0') != std::string_view::npos) return false;
    std::string_view rest = path.substr(3);
    for (;;) {
        const std::size_t separator = rest.find_first_of("\\/");
        const std::string_view part = rest.substr(0, separator);
        if (part.empty() || part == "." || part == "..") return false;
        if (separator == std::string_view::npos) return true;
        rest.remove_prefix(separator + 1);
    }
}

bool IsFolder(const std::string& path) {
    struct _stat64 info {};
    return ::_stat64(path.c_str(), &info) == 0 && (info.st_mode & _S_IFDIR) != 0;
}

bool MakeFolder(const std::string& path) {
    if (::_mkdir(path.c_str()) == 0) return true;
    return errno == EEXIST && IsFolder(path);
}

}  // namespace

std::string WindowsLocalFiles::HostPath(std::string_view windowsPath) {
    if (!IsDriveCPath(windowsPath)) return {};
    return std::string(windowsPath);
}

bool WindowsLocalFiles::PrepareFolders(std::string_view windowsPath) {
    const std::string path = HostPath(windowsPath);
    if (path.empty()) return false;
    // Every folder below the root down to the file's own.
    for (std::size_t at = 3; at < path.size(); ++at)
        if (IsSeparator(path[at]) && !MakeFolder(path.substr(0, at))) return false;
    return true;
}

}  // namespace ofu::platform
