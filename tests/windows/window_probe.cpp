// Reads the device list of a running utility window from outside, as a user's screen reader or
// a test driver would: waits for the top-level window with the given caption, prints its
// rectangle and every row of its device list (control 1000); or closes that window.
// The list view's texts live in the other process: the item structure and the text buffer are
// placed there with VirtualAllocEx and read back with ReadProcessMemory.
// It also describes an executable as Windows sees it: its subsystem, its version resource's
// description and the types of resources it carries.
// Usage: window_probe.exe list CAPTION TIMEOUT_MS [MIN_ROWS]
//        window_probe.exe close CAPTION
//        window_probe.exe describe EXE
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kDeviceListId = 1000;
constexpr int kColumns = 4;  // name, address, netmask, gateway
constexpr SIZE_T kTextUnits = 260;

std::wstring Widen(const char* text) {
    const int units = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring wide(units > 0 ? units - 1 : 0, L'\0');
    if (units > 1) MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), units);
    return wide;
}

std::string Narrow(const wchar_t* text) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(bytes > 0 ? bytes - 1 : 0, '\0');
    if (bytes > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow.data(), bytes, nullptr, nullptr);
    return narrow;
}

// The text of one cell of a list view owned by `process`, through memory of that process.
std::string CellText(HANDLE process, HWND list, int row, int column) {
    const SIZE_T size = sizeof(LVITEMW) + kTextUnits * sizeof(wchar_t);
    auto* remote = static_cast<BYTE*>(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
    if (remote == nullptr) return "?";
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
    item.cchTextMax = static_cast<int>(kTextUnits);
    std::string text = "?";
    wchar_t buffer[kTextUnits] = {};
    if (WriteProcessMemory(process, remote, &item, sizeof item, nullptr)) {
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote));
        if (ReadProcessMemory(process, remote + sizeof(LVITEMW), buffer, sizeof buffer - sizeof(wchar_t), nullptr))
            text = Narrow(buffer);
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return text;
}

// The resource types of an executable: the names of its own, the numbers of the standard ones.
BOOL CALLBACK AddType(HMODULE, LPWSTR type, LONG_PTR names) {
    *reinterpret_cast<std::string*>(names) +=
        " " + (IS_INTRESOURCE(type) ? std::to_string(reinterpret_cast<ULONG_PTR>(type)) : Narrow(type));
    return TRUE;
}

// Prints the executable's subsystem (from its PE header), its version's description and its
// resource types, each on a line of its own.
int Describe(const char* path) {
    const std::wstring wide = Widen(path);
    HMODULE image = LoadLibraryExW(wide.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    DWORD ignored = 0;
    std::string version(GetFileVersionInfoSizeW(wide.c_str(), &ignored), '\0');
    wchar_t* description = nullptr;
    UINT length = 0;
    if (image == nullptr || version.empty() || !GetFileVersionInfoW(wide.c_str(), 0, static_cast<DWORD>(version.size()), version.data()) ||
        !VerQueryValueW(version.data(), L"\\StringFileInfo\\040904b0\\FileDescription",
                        reinterpret_cast<void**>(&description), &length)) {
        std::fprintf(stderr, "cannot read %s\n", path);
        return 1;
    }
    // The low bits of a module loaded as data flag it; the headers are at the start of the map.
    const auto* base = reinterpret_cast<const BYTE*>(reinterpret_cast<ULONG_PTR>(image) & ~ULONG_PTR{3});
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS64*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    std::string types;
    EnumResourceTypesW(image, AddType, reinterpret_cast<LONG_PTR>(&types));
    std::printf("subsystem %u\ndescription %s\nresources%s\n", headers->OptionalHeader.Subsystem,
                Narrow(description).c_str(), types.c_str());
    FreeLibrary(image);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "describe" && argc == 3) return Describe(argv[2]);
    if (mode == "close" && argc == 3) {
        HWND window = FindWindowW(nullptr, Widen(argv[2]).c_str());
        if (window == nullptr) return 1;
        PostMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    }
    if (mode != "list" || argc < 4) {
        std::fprintf(stderr, "usage: window_probe list CAPTION TIMEOUT_MS [MIN_ROWS] | close CAPTION | describe EXE\n");
        return 2;
    }
    const std::wstring caption = Widen(argv[2]);
    const DWORD timeout = static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10));
    const int minRows = argc > 4 ? std::atoi(argv[4]) : 0;

    // The window, shown and with its list filled (the first search runs before it is shown).
    const DWORD start = GetTickCount();
    HWND window = nullptr;
    HWND list = nullptr;
    int rows = 0;
    for (;;) {
        window = FindWindowW(nullptr, caption.c_str());
        list = window != nullptr ? GetDlgItem(window, kDeviceListId) : nullptr;
        rows = list != nullptr ? static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) : 0;
        if (list != nullptr && IsWindowVisible(window) && rows >= minRows) break;
        if (GetTickCount() - start > timeout) {
            std::fprintf(stderr, "no window \"%s\" with %d rows within %lu ms\n", argv[2], minRows,
                         static_cast<unsigned long>(timeout));
            return 1;
        }
        Sleep(100);
    }
    Sleep(500);  // let it finish painting before anyone takes a picture

    RECT frame{};
    GetWindowRect(window, &frame);
    std::printf("window %ld %ld %ld %ld\n", frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top);

    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process == nullptr) {
        std::fprintf(stderr, "cannot open the window's process\n");
        return 1;
    }
    for (int row = 0; row < rows; ++row) {
        std::string line = "row";
        for (int column = 0; column < kColumns; ++column) line += "\t" + CellText(process, list, row, column);
        std::printf("%s\n", line.c_str());
    }
    CloseHandle(process);
    std::fflush(stdout);
    return 0;
}
