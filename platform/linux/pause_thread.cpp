#include "platform/worker_threads.h"

#include <chrono>
#include <thread>

namespace ofu::platform {

void PauseThread(int milliseconds) {
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace ofu::platform
