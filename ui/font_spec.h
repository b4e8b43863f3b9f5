// A font that a handler asks for, in the terms of a logical font description.
#pragma once

#include <string>

namespace ofu::ui {

struct FontSpec {
    std::string face;
    // Positive: the cell height in pixels; negative: the character (em) height in pixels.
    int height = 0;
    int weight = 400;  // 100 thin ... 400 normal ... 700 bold
    bool italic = false;
};

}  // namespace ofu::ui
