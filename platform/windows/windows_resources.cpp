#include "platform/windows/windows_resources.h"

#include "platform/windows/windows_api.h"
#include "platform/windows/zero_terminated.h"

namespace ofu::platform {

// The executable's resources are the table on Windows: there is nothing to register.
void RegisterEmbeddedResources(std::span<const EmbeddedResource> table) { (void)table; }

std::span<const std::uint8_t> WindowsResources::Find(std::string_view typeName, int id) {
    const auto number = static_cast<WORD>(static_cast<unsigned>(id) & 0xFFFFu);
    const std::optional<std::string> type = windows::ZeroTerminated(typeName);
    // Resource ids start at 1; 0 would be a null name.
    if (number == 0 || !type || type->empty()) return {};
    const HMODULE program = ::GetModuleHandleA(nullptr);
    const HRSRC found = ::FindResourceA(program, MAKEINTRESOURCEA(number), type->c_str());
    if (found == nullptr) return {};
    const HGLOBAL loaded = ::LoadResource(program, found);
    const DWORD size = ::SizeofResource(program, found);
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr) return {};
    // Resources stay mapped with the executable for the life of the process.
    return {static_cast<const std::uint8_t*>(bytes), size};
}

}  // namespace ofu::platform
