// The two names a drive connection is made of: the drive text ("Z:") and the remote name of a
// share ("\\NAS1\HDD_a", optionally followed by folders: "\\NAS1\HDD_a\backup\2024"), and
// the smb:// addresses that the share check and the desktop mount are given for them.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ofu::platform::linux_drives {

// The letter of a drive text "Z:" (either case), also accepted as a root "Z:\" or "Z:/";
// 0 when the text is not one.
char DriveLetterOf(std::string_view drive);
// The letter of a local device name, which is exactly "Z:" (either case); 0 otherwise.
char LocalNameLetterOf(std::string_view localName);

struct RemoteName {
    std::string server;                // "NAS1", a host name or a dotted address
    std::string share;                 // "HDD_a"
    std::vector<std::string> folders;  // the folder path below the share root, if any
};

// Longest remote name accepted; longer ones are not share names anyone can type.
inline constexpr std::size_t kMaxRemoteNameLength = 1024;

// Splits "\\SERVER\SHARE[\folder...]". Empty when the text is not one: a missing or empty
// server or share, an empty folder between two backslashes, a "." or ".." folder, a control
// character, a "/" anywhere (it would change the meaning of the smb:// address), or a text
// longer than kMaxRemoteNameLength. One trailing backslash is allowed.
std::optional<RemoteName> ParseRemoteName(std::string_view text);

// Whether two remote names name the same share: server and share compared without regard to
// ASCII letter case, folders ignored.
bool SameShare(const RemoteName& a, const RemoteName& b);

// "smb://SERVER/SHARE" (with "/folder..." when `withFolders`), every part percent-encoded so
// that no character of a name can act as a separator, user part or port.
std::string SmbUrl(const RemoteName& name, bool withFolders);

}  // namespace ofu::platform::linux_drives
