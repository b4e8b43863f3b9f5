// The program's version, shown by the About box and the command-line tools.
#pragma once

namespace ofu {

inline constexpr const char* kProductVersion = "4.6.0.0";
inline constexpr const char* kProductName = "Ostrel Ferrow Utility";

}  // namespace ofu
