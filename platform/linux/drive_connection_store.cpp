#include "platform/linux/drive_connection_store.h"

#include "platform/linux/home_folder.h"
#include "platform/linux/linux_system_info.h"
#include "platform/linux/offered_credentials.h"
#include "platform/linux/share_credentials.h"
#include "platform/linux/share_mount_process.h"
#include "platform/linux/smb_server_location.h"
#include "platform/linux/smb_share_check.h"
#include "platform/linux/windows_path.h"

#include <cstdlib>

namespace ofu::platform::linux_drives {

std::filesystem::path DefaultTablePath() {
    std::filesystem::path base;
    if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && state[0] == '/') {
        base = state;
    } else if (const std::string home = linux_files::UserHomeFolder(); !home.empty()) {
        base = std::filesystem::path(home) / ".local" / "state";
    } else {
        return {};
    }
    return base / "ostrel-ferrow-utility" / "drive-connections";
}

NetStatus DriveConnectionStore::GetConnection(std::string_view drive, std::string& remoteName,
                                              std::size_t bufferLength) {
    const char letter = DriveLetterOf(drive);
    if (letter == 0) return NetStatus::Failed;
    const ConnectionTable table = path_.empty() ? ConnectionTable{} : LoadTable(path_);
    const auto it = table.find(letter);
    if (it == table.end()) return NetStatus::NotConnected;
    if (it->second.remoteName.size() + 1 > bufferLength) return NetStatus::MoreData;
    remoteName = it->second.remoteName;
    return NetStatus::Ok;
}

DriveType DriveConnectionStore::GetDriveType(std::string_view root) {
    const char letter = DriveLetterOf(root);
    if (letter == 0) return DriveType::NoRootDir;
    if (letter == 'C') return DriveType::Fixed;
    const ConnectionTable table = path_.empty() ? ConnectionTable{} : LoadTable(path_);
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
    if (path_.empty()) return NetStatus::Failed;
    if (letter == 'C' || LoadTable(path_).count(letter) != 0) return NetStatus::AlreadyAssigned;

    const std::optional<SmbServerLocation> server = LocateSmbServer(remote->server);
    if (!server) return NetStatus::BadNetPath;
    if (const NetStatus checked = CheckShare(*remote, *credentials, *server); checked != NetStatus::Ok)
        return checked;

    // From the mount to the recording the table is locked, so that two programs mapping the
    // same letter at once cannot both mount it.
    const DriveTableLock lock(path_);
    if (!lock.held()) return NetStatus::Failed;
    ConnectionTable table = LoadTable(path_);
    if (table.count(letter) != 0) return NetStatus::AlreadyAssigned;
    const MountOutcome mounted = MountShareAt(resource.remoteName, *server, *credentials, MountFolderFor(letter, *remote));
    if (mounted.status != NetStatus::Ok) return mounted.status;
    table[letter] = DriveConnection(resource.remoteName, mounted.mount);
    if (!SaveTable(path_, table)) {
        Unmount(mounted.mount);
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
    const std::optional<SmbServerLocation> server = LocateSmbServer(path.server);
    if (!server) return NetStatus::BadNetPath;
    const RemoteName shareRoot{path.server, path.share, {}};
    if (const NetStatus checked = CheckShare(shareRoot, *credentials, *server); checked != NetStatus::Ok)
        return checked;
    RememberOfferedCredentials(path.server, path.share, *credentials);
    return NetStatus::Ok;
}

// The letter's own mount goes, open files or not, so a cancel without force is no different.
NetStatus DriveConnectionStore::CancelConnection(std::string_view localName, unsigned /*flags*/, bool /*force*/) {
    const char letter = LocalNameLetterOf(localName);
    if (letter == 0) return NetStatus::BadDevice;
    if (path_.empty()) return NetStatus::NotConnected;
    const DriveTableLock lock(path_);
    if (!lock.held()) return NetStatus::Failed;
    ConnectionTable table = LoadTable(path_);
    const auto entry = table.find(letter);
    if (entry == table.end()) return NetStatus::NotConnected;

    Unmount(entry->second.mount);
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
    if (path_.empty()) return {};
    const ConnectionTable table = LoadTable(path_);
    const auto entry = table.find(letter);
    if (entry == table.end() || !MountAlive(entry->second.mount)) return {};
    return entry->second.mount.folder;
}

}  // namespace ofu::platform::linux_drives
