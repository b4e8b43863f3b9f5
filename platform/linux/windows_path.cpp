#include "platform/linux/windows_path.h"

#include <algorithm>

namespace ofu::platform::linux_files {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7f;
}

bool IsDotPart(std::string_view part) { return part == "." || part == ".."; }

// The parts of `rest` between separators; false for an empty part other than one trailing
// separator, or for a "." or ".." part.
bool SplitParts(std::string_view rest, std::vector<std::string>& parts, bool& trailingSeparator) {
    if (!rest.empty() && IsSeparator(rest.back())) {
        trailingSeparator = true;
        rest.remove_suffix(1);
    }
    if (rest.empty()) return true;
    for (;;) {
        const auto separator = std::find_if(rest.begin(), rest.end(), IsSeparator);
        const std::string_view part(rest.begin(), separator);
        if (part.empty() || IsDotPart(part)) return false;
        parts.emplace_back(part);
        if (separator == rest.end()) return true;
        rest.remove_prefix(part.size() + 1);
    }
}

WindowsPath DriveCPath(std::string_view rest) {
    WindowsPath path;
    if (!SplitParts(rest, path.parts, path.trailingSeparator)) return {};
    // "C:\" is the root itself; a separator after it would be an empty part.
    if (path.parts.empty() && path.trailingSeparator) return {};
    path.kind = PathKind::DriveC;
    return path;
}

WindowsPath UncPath(std::string_view rest) {
    WindowsPath path;
    std::vector<std::string> parts;
    if (!SplitParts(rest, parts, path.trailingSeparator) || parts.size() < 2) return {};
    // "\\?\" and "\\.\" are the Windows device namespaces, not servers.
    if (parts[0] == "?") return {};
    path.server = std::move(parts[0]);
    path.share = std::move(parts[1]);
    path.parts.assign(std::make_move_iterator(parts.begin() + 2), std::make_move_iterator(parts.end()));
    path.kind = PathKind::Unc;
    return path;
}

}  // namespace

WindowsPath ClassifyWindowsPath(std::string_view path) {
    if (path.size() > kMaxWindowsPathLength || std::any_of(path.begin(), path.end(), IsControl)) return {};
    if (path.size() >= 3 && (path[0] == 'C' || path[0] == 'c') && path[1] == ':' && IsSeparator(path[2]))
        return DriveCPath(path.substr(3));
    if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') return UncPath(path.substr(2));
    return {};
}

std::string DriveCText(const WindowsPath& path) {
    std::string text = "C:";
    for (const std::string& part : path.parts) text.append("\\").append(part);
    if (path.parts.empty()) text += '\\';
    return text;
}

linux_drives::RemoteName UncName(const WindowsPath& path) { return {path.server, path.share, path.parts}; }

}  // namespace ofu::platform::linux_files
