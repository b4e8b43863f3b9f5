// The payloads as the executable's own resources (EnumResourceNamesA), and the pages of this
// process as VirtualQuery describes them.
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
        // GNU ld marks the resource section writable, so its pages are copy-on-write: still
        // the file's own pages until someone writes to them.
        if (page.Protect != PAGE_READONLY && page.Protect != PAGE_WRITECOPY) return false;
        at = static_cast<const std::uint8_t*>(page.BaseAddress) + page.RegionSize;
    }
    return true;
}

namespace {

BOOL CALLBACK NoteName(HMODULE, LPCSTR type, LPSTR name, LONG_PTR carried) {
    if (IS_INTRESOURCE(name)) {
        reinterpret_cast<std::vector<std::pair<std::string, int>>*>(carried)->emplace_back(
            type, static_cast<int>(reinterpret_cast<std::uintptr_t>(name)));
    }
    return TRUE;
}

}  // namespace

std::vector<std::pair<std::string, int>> CarriedPayloads() {
    std::vector<std::pair<std::string, int>> carried;
    for (const char* type : {"CODEPAGE", "BT"})
        EnumResourceNamesA(nullptr, type, NoteName, reinterpret_cast<LONG_PTR>(&carried));
    return carried;
}

}  // namespace ofu::test
