// Short-lived worker threads and pauses of the calling thread, as the web configuration
// launch uses them: one thread per reachability check, and one-second pauses on the
// user-interface thread while it waits for the answer.
#pragma once

#include <functional>

namespace ofu::platform {

class Threads {
public:
    virtual ~Threads() = default;
    // Runs `body` at once on a new thread of normal priority. The caller keeps no handle; the
    // platform makes sure the thread has ended before its services are freed. False when no
    // thread could be started: the body never runs.
    virtual bool Start(std::function<void()> body) = 0;
    // Pauses the calling thread (Sleep).
    virtual void Sleep(int milliseconds) = 0;
};

}  // namespace ofu::platform
