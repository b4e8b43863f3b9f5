// The attributes and file actions of one posix_spawn, freed however the start ends, for the
// places that start a program of their own (process_start.cpp, share_mount_process.cpp).
#pragma once

#include <signal.h>
#include <spawn.h>

namespace ofu::platform::linux_exec {

struct SpawnSettings {
    posix_spawnattr_t attributes{};
    posix_spawn_file_actions_t actions{};
    bool ready = false;

    SpawnSettings() {
        if (::posix_spawnattr_init(&attributes) != 0) return;
        if (::posix_spawn_file_actions_init(&actions) != 0) {
            ::posix_spawnattr_destroy(&attributes);
            return;
        }
        ready = true;
    }
    ~SpawnSettings() {
        if (!ready) return;
        ::posix_spawn_file_actions_destroy(&actions);
        ::posix_spawnattr_destroy(&attributes);
    }
    SpawnSettings(const SpawnSettings&) = delete;
    SpawnSettings& operator=(const SpawnSettings&) = delete;

    // No signal blocked and every signal handled by default in the program, whatever this
    // process ignores or blocks on its threads; `moreFlags` adds flags such as
    // POSIX_SPAWN_SETSID. False when the attributes could not be set.
    bool ResetSignals(short moreFlags = 0) {
        sigset_t none;
        sigset_t all;
        sigemptyset(&none);
        sigfillset(&all);
        return ready &&
               ::posix_spawnattr_setflags(&attributes,
                                          static_cast<short>(POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | moreFlags)) ==
                   0 &&
               ::posix_spawnattr_setsigmask(&attributes, &none) == 0 &&
               ::posix_spawnattr_setsigdefault(&attributes, &all) == 0;
    }
};

}  // namespace ofu::platform::linux_exec
