// The program's string resources.
#pragma once

#include <string_view>

namespace ofu::ui {

// The string with this id, or the empty text when there is none.
std::string_view LoadStringResource(int id);

}  // namespace ofu::ui
