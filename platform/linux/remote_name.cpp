#include "platform/linux/remote_name.h"

#include "base/ascii_case.h"

#include <algorithm>

namespace ofu::platform::linux_drives {
namespace {

char UpperLetter(char c) {
    if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
    if (c >= 'A' && c <= 'Z') return c;
    return 0;
}

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7f;
}

// RFC 3986 unreserved characters stay, every other byte becomes %XX.
void AppendEncoded(std::string& out, std::string_view part) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : part) {
        const auto byte = static_cast<unsigned char>(c);
        const bool unreserved = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                                (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
                                byte == '~';
        if (unreserved) {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0f];
        }
    }
}

}  // namespace

char DriveLetterOf(std::string_view drive) {
    if (drive.size() < 2 || drive[1] != ':') return 0;
    if (drive.size() > 2 && !(drive.size() == 3 && (drive[2] == '\\' || drive[2] == '/'))) return 0;
    return UpperLetter(drive[0]);
}

char LocalNameLetterOf(std::string_view localName) {
    return localName.size() == 2 ? DriveLetterOf(localName) : 0;
}

std::optional<RemoteName> ParseRemoteName(std::string_view text) {
    if (text.size() > kMaxRemoteNameLength || text.size() < 2 || text[0] != '\\' || text[1] != '\\')
        return std::nullopt;
    if (std::any_of(text.begin(), text.end(), [](char c) { return IsControl(c) || c == '/'; })) return std::nullopt;
    std::string_view rest = text.substr(2);
    if (!rest.empty() && rest.back() == '\\') rest.remove_suffix(1);

    std::vector<std::string> parts;
    for (;;) {
        const std::size_t slash = rest.find('\\');
        parts.emplace_back(rest.substr(0, slash));
        if (slash == std::string_view::npos) break;
        rest.remove_prefix(slash + 1);
    }
    if (parts.size() < 2) return std::nullopt;
    if (std::any_of(parts.begin(), parts.end(), [](const std::string& p) { return p.empty(); })) return std::nullopt;
    if (std::any_of(parts.begin() + 2, parts.end(), [](const std::string& p) { return p == "." || p == ".."; }))
        return std::nullopt;

    RemoteName name;
    name.server = std::move(parts[0]);
    name.share = std::move(parts[1]);
    name.folders.assign(std::make_move_iterator(parts.begin() + 2), std::make_move_iterator(parts.end()));
    return name;
}

bool SameShare(const RemoteName& a, const RemoteName& b) {
    return EqualsIgnoringAsciiCase(a.server, b.server) && EqualsIgnoringAsciiCase(a.share, b.share);
}

std::string SmbUrl(const RemoteName& name, bool withFolders) {
    std::string url = "smb://";
    AppendEncoded(url, name.server);
    url += '/';
    AppendEncoded(url, name.share);
    if (withFolders) {
        for (const std::string& folder : name.folders) {
            url += '/';
            AppendEncoded(url, folder);
        }
    }
    return url;
}

}  // namespace ofu::platform::linux_drives
