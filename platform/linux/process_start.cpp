#include "platform/linux/process_start.h"

#include "platform/linux/spawn_settings.h"
#include "platform/programs.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <system_error>
#include <thread>

extern char** environ;

namespace ofu::platform::linux_exec {
namespace {

// Whether the folder that should hold `program` exists ("." for a bare name).
bool ParentFolderExists(const std::string& program) {
    const std::size_t slash = program.rfind('/');
    const std::string folder = slash == 0 ? std::string("/") : program.substr(0, slash);
    struct stat info {};
    return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

unsigned ResultFor(int error, const std::string& program) {
    switch (error) {
        case 0: return kStarted;
        case ENOENT:
            if (program.find('/') != std::string::npos && !ParentFolderExists(program)) return kExecPathNotFound;
            return kExecFileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP: return kExecPathNotFound;
        case EACCES:
        case ENOEXEC:
        case EISDIR:
        case ETXTBSY: return kExecBadFormat;
        default: return kExecOutOfResources;
    }
}

void Reap(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace

unsigned StartProgram(const std::vector<std::string>& argv, const std::string& workingFolder) {
    if (argv.empty() || argv.front().empty()) return kExecFileNotFound;
    std::vector<char*> pointers;
    pointers.reserve(argv.size() + 1);
    for (const std::string& argument : argv) {
        if (argument.find('\0') != std::string::npos) return kExecOutOfResources;  // cannot be passed on
        pointers.push_back(const_cast<char*>(argument.c_str()));
    }
    pointers.push_back(nullptr);
    if (workingFolder.find('\0') != std::string::npos) return kExecPathNotFound;

    SpawnSettings settings;
    // Its own session, no signal blocked, every signal handled by default (the caller may
    // ignore SIGPIPE or block signals on its threads; the program should not inherit that).
    if (!settings.ResetSignals(POSIX_SPAWN_SETSID) ||
        // Sockets and files of this program stay with it.
        ::posix_spawn_file_actions_addclosefrom_np(&settings.actions, 3) != 0)
        return kExecOutOfResources;
    if (!workingFolder.empty() && ::posix_spawn_file_actions_addchdir_np(&settings.actions, workingFolder.c_str()) != 0)
        return kExecOutOfResources;

    const std::string& program = argv.front();
    pid_t pid = -1;
    const int error = program.find('/') != std::string::npos
                          ? ::posix_spawn(&pid, program.c_str(), &settings.actions, &settings.attributes,
                                          pointers.data(), environ)
                          : ::posix_spawnp(&pid, program.c_str(), &settings.actions, &settings.attributes,
                                           pointers.data(), environ);
    if (error != 0) return ResultFor(error, program);
    try {
        std::thread(Reap, pid).detach();
    } catch (const std::system_error&) {
        // No thread to spare. Waiting here could block the caller for as long as the program
        // runs; its exit status is collected with this process's end instead.
    }
    return kStarted;
}

}  // namespace ofu::platform::linux_exec
