#include "platform/windows/windows_api.h"
#include "platform/worker_threads.h"

namespace ofu::platform {

void PauseThread(int milliseconds) {
    if (milliseconds > 0) ::Sleep(static_cast<DWORD>(milliseconds));
}

}  // namespace ofu::platform
