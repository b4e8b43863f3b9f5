#include "ui/backend.h"

#include <utility>

namespace ofu::ui {
namespace {

std::unique_ptr<Backend>& ActiveSlot() {
    static std::unique_ptr<Backend> backend;
    return backend;
}

}  // namespace

bool InitBackend(std::unique_ptr<Backend> backend) {
    if (ActiveSlot() != nullptr || backend == nullptr) return false;
    ActiveSlot() = std::move(backend);
    return true;
}

void FreeBackend() { ActiveSlot().reset(); }

Backend* ActiveBackend() { return ActiveSlot().get(); }

int ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon) {
    Backend* backend = ActiveBackend();
    if (backend == nullptr) return 0;
    return backend->ShowMessage({std::string(text), std::string(caption), icon, 0});
}

}  // namespace ofu::ui
