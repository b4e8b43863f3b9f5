#include "platform/linux/drive_connection_store.h"

#include "platform/linux/gio_share_mount.h"
#include "platform/linux/linux_system_info.h"
#include "platform/linux/offered_credentials.h"
#include "platform/linux/share_credentials.h"
#include "platform/linux/smb_share_check.h"
#include "platform/linux/tcp_probe.h"
#include "platform/linux/windows_path.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace ofu::platform::linux_drives {
namespace {

// The port is probed first with this bound, so that an absent device fails within about 2 s
// rather than after the client library's fixed 5 s connect time-out.
constexpr int kProbeLimitMillis = 1500;
constexpr std::uint16_t kSmbPort = 445;

bool AnotherLetterUsesShare(const ConnectionTable& table, char letter, const RemoteName& share) {
    return std::any_of(table.begin(), table.end(), [&](const auto& entry) {
        if (entry.first == letter) return false;
        const auto other = ParseRemoteName(entry.second);
        return other && SameShare(*other, share);
    });
}

}  // namespace

std::filesystem::path DefaultTablePath() {
    std::filesystem::path base;
    if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && state[0] == '/') {
        base = state;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
        base = std::filesystem::path(home) / ".local" / "state";
    } else {
        base = std::filesystem::temp_directory_path();
    }
    return base / "ostrel-ferrow-utility" / "drive-connections";
}

std::filesystem::path DriveConnectionStore::SmbConfigHome() const { return path_.parent_path() / "smb-client"; }

NetStatus DriveConnectionStore::GetConnection(std::string_view drive, std::string& remoteName,
                                              std::size_t bufferLength) {
    const char letter = DriveLetterOf(drive);
    if (letter == 0) return NetStatus::Failed;
    const ConnectionTable table = LoadTable(path_);
    const auto it = table.find(letter);
    if (it == table.end()) return NetStatus::NotConnected;
    if (it->second.size() + 1 > bufferLength) return NetStatus::MoreData;
    remoteName = it->second;
    return NetStatus::Ok;
}

DriveType DriveConnectionStore::GetDriveType(std::string_view root) {
    const char letter = DriveLetterOf(root);
    if (letter == 0) return DriveType::NoRootDir;
    if (letter == 'C') return DriveType::Fixed;
    const ConnectionTable table = LoadTable(path_);
    return table.count(letter) != 0 ? DriveType::Remote : DriveType::NoRootDir;
}

NetStatus DriveConnectionStore::AddConnection(const NetResource& resource, const std::optional<std::string>& password,
                                              const std::optional<std::string>& userName, unsigned /*flags*/) {
    // kConnectUpdateProfile is what the table is; kConnectInteractive has no prompt here.
    if (resource.localName.empty()) return OfferCredentials(resource.remoteName, password, userName);
    const char letter = LocalNameLetterOf(resource.localName);
    if (letter == 0) return NetStatus::BadDevice;
    const std::optional<RemoteName> remote = ParseRemoteName(resource.remoteName);
    if (!remote) return NetStatus::InvalidParameter;
    const std::optional<ShareCredentials> credentials = CredentialsFor(password, userName);
    if (!credentials) return NetStatus::InvalidParameter;
    if (letter == 'C' || LoadTable(path_).count(letter) != 0) return NetStatus::AlreadyAssigned;

    if (linux_net::ProbeTcp(remote->server, kSmbPort, kProbeLimitMillis) != linux_net::ProbeResult::Connected)
        return NetStatus::BadNetPath;
    if (const NetStatus checked = CheckShare(*remote, *credentials, SmbConfigHome()); checked != NetStatus::Ok)
        return checked;

    // From here to the recording the table is locked, so that a cancel of another letter on
    // the same share cannot unmount it in between.
    const DriveTableLock lock(path_);
    if (!lock.held()) return NetStatus::Failed;
    ConnectionTable table = LoadTable(path_);
    if (table.count(letter) != 0) return NetStatus::AlreadyAssigned;
    bool mounted = false;
    if (GvfsAvailable()) {
        const MountOutcome outcome = MountShare(*remote, *credentials);
        if (outcome.status != NetStatus::Ok) return outcome.status;
        mounted = outcome.newlyMounted;
    }
    table[letter] = resource.remoteName;
    if (!SaveTable(path_, table)) {
        if (mounted && !AnotherLetterUsesShare(table, letter, *remote)) UnmountShare(*remote, true);
        return NetStatus::Failed;
    }
    return NetStatus::Ok;
}

std::optional<ShareCredentials> DriveConnectionStore::CredentialsFor(const std::optional<std::string>& password,
                                                                     const std::optional<std::string>& userName) {
    // The session user's name whole: one too long for a share is refused, never cut.
    std::string sessionUser;
    if (!userName && GetUser(sessionUser, 4096) != NetStatus::Ok) sessionUser.clear();
    return ResolveCredentials(password, userName, sessionUser, !password && HasKerberosTicketCache());
}

NetStatus DriveConnectionStore::OfferCredentials(std::string_view remoteName,
                                                 const std::optional<std::string>& password,
                                                 const std::optional<std::string>& userName) {
    // The remote name may go on to a folder or file, with "/" as Windows takes it; only the
    // server and the share count.
    const linux_files::WindowsPath path = linux_files::ClassifyWindowsPath(remoteName);
    if (path.kind != linux_files::PathKind::Unc) return NetStatus::InvalidParameter;
    const std::optional<ShareCredentials> credentials = CredentialsFor(password, userName);
    if (!credentials) return NetStatus::InvalidParameter;
    // The same credentials offered again for a share that took them: the connection is there
    // already (as on Windows, where it lasts for the logon session), nothing to check.
    if (OfferedCredentials(path.server, path.share) == credentials) return NetStatus::Ok;
    if (linux_net::ProbeTcp(path.server, kSmbPort, kProbeLimitMillis) != linux_net::ProbeResult::Connected)
        return NetStatus::BadNetPath;
    const RemoteName shareRoot{path.server, path.share, {}};
    if (const NetStatus checked = CheckShare(shareRoot, *credentials, SmbConfigHome()); checked != NetStatus::Ok)
        return checked;
    RememberOfferedCredentials(path.server, path.share, *credentials);
    return NetStatus::Ok;
}

NetStatus DriveConnectionStore::CancelConnection(std::string_view localName, unsigned /*flags*/, bool force) {
    const char letter = LocalNameLetterOf(localName);
    if (letter == 0) return NetStatus::BadDevice;
    const DriveTableLock lock(path_);
    if (!lock.held()) return NetStatus::Failed;
    ConnectionTable table = LoadTable(path_);
    const auto entry = table.find(letter);
    if (entry == table.end()) return NetStatus::NotConnected;

    // Entries in the table passed the parser when they were read.
    const RemoteName remote = *ParseRemoteName(entry->second);
    if (!AnotherLetterUsesShare(table, letter, remote) && GvfsAvailable()) {
        // A mount that cannot be removed (busy, without force) keeps its letter: the caller
        // learns that the drive is still in use.
        if (UnmountShare(remote, force) != NetStatus::Ok) return NetStatus::Failed;
    }
    table.erase(entry);
    return SaveTable(path_, table) ? NetStatus::Ok : NetStatus::Failed;
}

NetStatus DriveConnectionStore::GetUser(std::string& userName, std::size_t bufferLength) {
    const std::optional<std::string> name = LinuxSystemInfo().GetUserName();
    if (!name) return NetStatus::Failed;
    if (name->size() + 1 > bufferLength) return NetStatus::MoreData;
    userName = *name;
    return NetStatus::Ok;
}

std::string DriveConnectionStore::LocalFolder(std::string_view drive) {
    const char letter = DriveLetterOf(drive);
    if (letter == 0) return {};
    const ConnectionTable table = LoadTable(path_);
    const auto entry = table.find(letter);
    if (entry == table.end() || !GvfsAvailable()) return {};
    return MountedFolder(*ParseRemoteName(entry->second));
}

}  // namespace ofu::platform::linux_drives
