// The pages of this process as VirtualQuery describes them: the executable's image, read-only.
#include "tests/payloads/program_image.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace ofu::test {

bool InReadOnlyImageOfTheProgram(std::span<const std::uint8_t> bytes) {
    const HMODULE self = GetModuleHandleA(nullptr);
    const auto* at = bytes.data();
    const auto* end = at + bytes.size();
    while (at < end) {
        MEMORY_BASIC_INFORMATION page{};
        if (VirtualQuery(at, &page, sizeof page) == 0) return false;
        if (page.AllocationBase != self || page.Type != MEM_IMAGE) return false;
        if (page.Protect != PAGE_READONLY) return false;
        at = static_cast<const std::uint8_t*>(page.BaseAddress) + page.RegionSize;
    }
    return true;
}

}  // namespace ofu::test
