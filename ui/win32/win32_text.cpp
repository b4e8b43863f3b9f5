#include "ui/win32/win32_text.h"

#include <climits>

#include "ui/win32/win32_api.h"

namespace ofu::ui::win32 {
namespace {

constexpr UINT kSurfaceCodePage = CP_ACP;

}  // namespace

std::wstring Widen(std::string_view text) {
    if (text.empty() || text.size() > INT_MAX) return {};
    const int length = static_cast<int>(text.size());
    const int units = MultiByteToWideChar(kSurfaceCodePage, 0, text.data(), length, nullptr, 0);
    if (units <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(kSurfaceCodePage, 0, text.data(), length, wide.data(), units);
    return wide;
}

std::string Narrow(std::wstring_view text) {
    if (text.empty() || text.size() > INT_MAX) return {};
    const int length = static_cast<int>(text.size());
    const int bytes =
        WideCharToMultiByte(kSurfaceCodePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return {};
    std::string narrow(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(kSurfaceCodePage, 0, text.data(), length, narrow.data(), bytes, nullptr, nullptr);
    return narrow;
}

}  // namespace ofu::ui::win32
