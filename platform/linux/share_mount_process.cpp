#include "platform/linux/share_mount_process.h"

#include "platform/linux/deadline.h"
#include "platform/linux/home_folder.h"
#include "platform/linux/spawn_settings.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

extern char** environ;

namespace ofu::platform::linux_drives {
namespace {

using linux_net::Clock;
using linux_net::MillisLeft;

// The helper's handshake arrives on this descriptor of the helper.
constexpr int kHandshakeFd = 3;
// A handshake line is short; a longer one is not the helper's.
constexpr std::size_t kMaxHandshakeBytes = 64;
// Names longer than this make the plain letter the folder's name.
constexpr std::size_t kMaxFolderNameBytes = 200;

bool IsExecutable(const std::filesystem::path& path) { return ::access(path.c_str(), X_OK) == 0; }

// Closes a descriptor when it goes out of scope.
struct Descriptor {
    int fd = -1;
    Descriptor() = default;
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { reset(); }
    void reset() {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
};

std::vector<std::string> HelperArguments(const std::filesystem::path& program, const std::string& remoteName,
                                         const SmbServerLocation& server, const ShareCredentials& credentials,
                                         const std::filesystem::path& folder) {
    std::vector<std::string> argv{program.string(), "--host",    server.host,    "--port", std::to_string(server.port),
                                  "--remote",       remoteName, "--mount-point", folder.string()};
    if (!credentials.workgroup.empty()) argv.insert(argv.end(), {"--workgroup", credentials.workgroup});
    if (!credentials.user.empty()) argv.insert(argv.end(), {"--user", credentials.user});
    if (credentials.useKerberos) argv.push_back("--kerberos");
    return argv;
}

// Reads the handshake line until the helper closes its end or the deadline passes.
std::string ReadHandshake(int fd, Clock::time_point deadline) {
    std::string line;
    char buffer[kMaxHandshakeBytes];
    while (line.size() < kMaxHandshakeBytes && line.find('\n') == std::string::npos) {
        pollfd waiting{fd, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, MillisLeft(deadline));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) break;
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        line.append(buffer, static_cast<std::size_t>(got));
    }
    const std::size_t end = line.find('\n');
    return end == std::string::npos ? std::string() : line.substr(0, end);
}

// Collects the started process (it ends right after its handshake, leaving the detached
// mount behind), killing it when it has not ended by the deadline.
void Collect(pid_t pid, Clock::time_point deadline) {
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid || (done < 0 && errno != EINTR)) return;
        if (MillisLeft(deadline) == 0) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ::kill(pid, SIGKILL);
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

std::optional<long long> NumberAfter(const std::string& line, const std::string& word) {
    if (line.rfind(word, 0) != 0 || line.size() == word.size() || line.size() > word.size() + 10) return std::nullopt;
    long long value = 0;
    for (std::size_t k = word.size(); k < line.size(); ++k) {
        if (line[k] < '0' || line[k] > '9') return std::nullopt;
        value = value * 10 + (line[k] - '0');
    }
    return value;
}

NetStatus StatusOfNumber(long long number) {
    switch (static_cast<NetStatus>(number)) {
        case NetStatus::AccessDenied:
        case NetStatus::BadNetPath:
        case NetStatus::BadNetName:
        case NetStatus::AlreadyAssigned:
        case NetStatus::InvalidPassword:
        case NetStatus::InvalidParameter:
        case NetStatus::NoNetwork:
            return static_cast<NetStatus>(number);
        default:
            return NetStatus::Failed;
    }
}

std::string ProcessName(int pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(in, name);
    return name;
}

}  // namespace

std::filesystem::path ShareMountProgram() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    const std::filesystem::path folder = self.parent_path();
    for (const std::filesystem::path& candidate :
         {folder / kShareMountProgram, folder.parent_path() / "libexec" / "ostrel-ferrow-utility" / kShareMountProgram})
        if (IsExecutable(candidate)) return candidate;
    return {};
}

std::filesystem::path MountFolderFor(char letter, const RemoteName& name) {
    const std::string home = linux_files::UserHomeFolder();
    if (home.empty()) return {};
    const std::string& last = name.folders.empty() ? name.share : name.folders.back();
    std::string folder = last + " on " + name.server + " (" + letter + ")";
    if (folder.size() > kMaxFolderNameBytes) folder = std::string(1, letter);
    return std::filesystem::path(home) / "Network drives" / folder;
}

std::optional<std::uint64_t> ProcessStartTime(int pid) {
    if (pid <= 0) return std::nullopt;
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    if (!std::getline(in, stat)) return std::nullopt;
    // "PID (NAME) STATE PPID ...": the name may hold blanks and parentheses, so the fields
    // are counted from the last ')'. The start time is the 22nd field, the state the 3rd.
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) return std::nullopt;
    std::istringstream fields(stat.substr(close + 1));
    std::string field;
    std::uint64_t start = 0;
    for (int k = 3; k <= 22 && fields >> field; ++k) {
        if (k == 3 && (field == "Z" || field == "X")) return std::nullopt;  // ended, not yet collected
        if (k == 22) start = std::strtoull(field.c_str(), nullptr, 10);
    }
    if (start == 0) return std::nullopt;
    return start;
}

MountOutcome MountShareAt(const std::string& remoteName, const SmbServerLocation& server,
                          const ShareCredentials& credentials, const std::filesystem::path& folder) {
    MountOutcome outcome;
    const std::filesystem::path program = ShareMountProgram();
    if (program.empty() || folder.empty()) {
        outcome.status = NetStatus::NoNetwork;
        return outcome;
    }
    const std::vector<std::string> arguments = HelperArguments(program, remoteName, server, credentials, folder);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        if (argument.find('\0') != std::string::npos) {
            outcome.status = NetStatus::InvalidParameter;
            return outcome;
        }
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);

    // The password goes over a socket pair rather than a pipe, so that a helper that ended
    // early makes the send fail instead of raising SIGPIPE in this process.
    Descriptor passwordOurs, passwordTheirs, handshakeOurs, handshakeTheirs;
    int sockets[2];
    int handshake[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0) return outcome;
    passwordOurs.fd = sockets[0];
    passwordTheirs.fd = sockets[1];
    if (::pipe2(handshake, O_CLOEXEC) != 0) return outcome;
    handshakeOurs.fd = handshake[0];
    handshakeTheirs.fd = handshake[1];

    linux_exec::SpawnSettings settings;
    const bool prepared =
        settings.ResetSignals() &&
        ::posix_spawn_file_actions_adddup2(&settings.actions, passwordTheirs.fd, STDIN_FILENO) == 0 &&
        ::posix_spawn_file_actions_adddup2(&settings.actions, handshakeTheirs.fd, kHandshakeFd) == 0 &&
        ::posix_spawn_file_actions_addclosefrom_np(&settings.actions, kHandshakeFd + 1) == 0;
    pid_t pid = -1;
    const int spawned = prepared ? ::posix_spawn(&pid, program.c_str(), &settings.actions, &settings.attributes,
                                                 argv.data(), environ)
                                 : EINVAL;
    if (spawned != 0) {
        outcome.status = NetStatus::NoNetwork;
        return outcome;
    }
    passwordTheirs.reset();
    handshakeTheirs.reset();

    const auto deadline = Clock::now() + std::chrono::milliseconds(kMountLimitMillis);
    const std::string& password = credentials.password;
    std::size_t sent = 0;
    while (sent < password.size()) {
        const ssize_t done = ::send(passwordOurs.fd, password.data() + sent, password.size() - sent, MSG_NOSIGNAL);
        if (done < 0 && errno == EINTR) continue;
        if (done <= 0) break;
        sent += static_cast<std::size_t>(done);
    }
    passwordOurs.reset();  // the end of the password

    const std::string line = ReadHandshake(handshakeOurs.fd, deadline);
    Collect(pid, deadline);
    if (const auto ready = NumberAfter(line, "ready "); ready && *ready > 0 && *ready <= 0x7fffffff) {
        const int helper = static_cast<int>(*ready);
        const std::optional<std::uint64_t> start = ProcessStartTime(helper);
        if (start && ProcessName(helper) == kShareMountProgram) {
            outcome.status = NetStatus::Ok;
            outcome.mount = ShareMount{folder.string(), helper, *start};
        }
    } else if (const auto failed = NumberAfter(line, "failed ")) {
        outcome.status = StatusOfNumber(*failed);
    }
    return outcome;
}

bool MountAlive(const ShareMount& mount) {
    if (mount.empty()) return false;
    const std::optional<std::uint64_t> start = ProcessStartTime(mount.pid);
    return start && *start == mount.startTime && ProcessName(mount.pid) == kShareMountProgram;
}

void Unmount(const ShareMount& mount) {
    if (mount.empty()) return;
    if (MountAlive(mount)) {
        ::kill(mount.pid, SIGTERM);
        const auto deadline = Clock::now() + std::chrono::milliseconds(kUnmountLimitMillis);
        while (MountAlive(mount) && MillisLeft(deadline) > 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (MountAlive(mount)) {
            ::kill(mount.pid, SIGKILL);
            // Its folder stays mounted until the kernel notices; lazily, so nothing waits.
            ::umount2(mount.folder.c_str(), MNT_DETACH);
        }
    }
    // Only an empty folder that nothing is mounted on goes; its parent with the last one.
    if (::rmdir(mount.folder.c_str()) == 0) ::rmdir(std::filesystem::path(mount.folder).parent_path().c_str());
}

}  // namespace ofu::platform::linux_drives
