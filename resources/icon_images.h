// The PNG renders of the program's icons, embedded into the program at build time.
#pragma once

#include <span>

namespace ofu::ui {

struct IconImage {
    int size = 0;  // width and height in pixels
    std::span<const unsigned char> png;
};

// The renders of the icon with this id, smallest first; empty for an unknown id.
std::span<const IconImage> FindIconImages(int iconId);

}  // namespace ofu::ui
