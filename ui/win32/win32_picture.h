// A picture of a dialog's client area, and its PNG file (for screenshots of the program).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ofu::ui::win32 {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0xRRGGBB, rows from the top

    std::uint32_t At(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
    }
};

// Redraws the window with its controls and copies its client area. `window` is an HWND.
bool CaptureClientArea(void* window, Picture& picture);

// A PNG image (8-bit RGB; the image data in stored deflate blocks, so no compressor is needed).
std::vector<unsigned char> EncodePng(const Picture& picture);
bool SavePng(const std::string& path, const Picture& picture);

}  // namespace ofu::ui::win32
