// ofu-share-mount: serves one connected share as a FUSE mount in a folder of the user's home,
// for as long as its drive letter is mapped. Started by the utility (never by hand) with the
// request on its command line (mount_request.h), the password on standard input and the
// handshake on descriptor 3: "ready PID" once mounted and detached, "failed STATUS" (a
// connection status number) otherwise. SIGTERM unmounts and ends it.
#include "platform/drive_connections.h"
#include "platform/linux/smb_context.h"
#include "platform/linux/smb_share_check.h"
#include "platform/linux/share_mount/mount_request.h"
#include "platform/linux/share_mount/mount_folder.h"
#include "platform/linux/share_mount/session_watch.h"
#include "platform/linux/share_mount/smb_fuse_filesystem.h"

#include <libsmbclient.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace {

using ofu::platform::NetStatus;
namespace drives = ofu::platform::linux_drives;

constexpr int kHandshakeFd = 3;

void Report(const std::string& line) {
    const std::string text = line + "\n";
    [[maybe_unused]] const ssize_t written = ::write(kHandshakeFd, text.data(), text.size());
    ::close(kHandshakeFd);
}

int Fail(NetStatus status) {
    Report("failed " + std::to_string(static_cast<unsigned>(status)));
    return 1;
}

// The password: all of standard input, at most as long as the share client takes.
std::optional<std::string> ReadPassword() {
    std::string password;
    char buffer[512];
    for (;;) {
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        password.append(buffer, static_cast<std::size_t>(got));
        if (password.size() > drives::kMaxCredentialLength) return std::nullopt;
    }
    if (password.find('\0') != std::string::npos) return std::nullopt;
    return password;
}

// Serves the mount until it is asked to end or unmounted; false when it could not mount.
bool Serve(const ofu::share_mount::MountRequest& request, ofu::share_mount::ServedShare& served) {
    const std::string fsname =
        ofu::share_mount::EscapedOption("fsname=" + ofu::share_mount::MountSource(request.remoteName));
    std::vector<std::string> options{"ofu-share-mount", "-o", fsname + ",subtype=ofu,auto_unmount"};
    std::vector<char*> argv;
    for (std::string& option : options) argv.push_back(option.data());
    fuse_args args = FUSE_ARGS_INIT(static_cast<int>(argv.size()), argv.data());
    fuse* mount = fuse_new(&args, &ofu::share_mount::SmbFuseOperations(), sizeof(fuse_operations), &served);
    if (mount == nullptr) return false;
    if (fuse_mount(mount, request.mountPoint.c_str()) != 0) {
        fuse_destroy(mount);
        return false;
    }
    fuse_session* session = fuse_get_session(mount);
    fuse_set_signal_handlers(session);
    fuse_daemonize(0);  // the caller's child ends here; the mount lives on in a session of its own
    Report("ready " + std::to_string(::getpid()));
    ofu::share_mount::WatchSessionEnd();
    fuse_loop(mount);
    fuse_remove_signal_handlers(session);
    fuse_unmount(mount);
    fuse_destroy(mount);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    ::close_range(kHandshakeFd + 1, ~0U, 0);  // nothing of the starting program stays open here
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    auto request = ofu::share_mount::ParseMountRequest(arguments);
    if (!request) return Fail(NetStatus::InvalidParameter);
    const std::optional<std::string> password = ReadPassword();
    if (!password) return Fail(NetStatus::InvalidParameter);
    request->credentials.password = *password;

    // The context the mount will use must take the credentials before anything is mounted.
    std::unique_ptr<drives::SmbContext> context;
    {
        const std::unique_lock<std::mutex> lock = drives::LockSmbLibrary();
        context = std::make_unique<drives::SmbContext>(request->credentials, request->server.port);
        const NetStatus checked = drives::CheckShareIn(*context, drives::SmbUrlAt(request->share, request->server));
        if (checked != NetStatus::Ok) return Fail(checked);
    }
    ofu::share_mount::ServedShare served{context->get(), request->share};
    served.root.server = request->server.host;

    const NetStatus folder = ofu::share_mount::PrepareMountFolder(request->mountPoint);
    if (folder != NetStatus::Ok) return Fail(folder);
    if (!Serve(*request, served)) {
        ofu::share_mount::RemoveMountFolder(request->mountPoint);
        return Fail(NetStatus::NoNetwork);  // no FUSE here (no /dev/fuse or no fusermount3)
    }
    ofu::share_mount::RemoveMountFolder(request->mountPoint);
    return 0;
}
