#include "ui/worker_context.h"

#include <new>
#include <system_error>

namespace ofu::ui {

bool StartThread(std::vector<std::thread>& threads, std::function<void()> run) {
    // The system may have no thread (or no memory) to give; the caller then counts no worker.
    try {
        threads.emplace_back(std::move(run));
        return true;
    } catch (const std::system_error&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace ofu::ui
