// Runs one `ofu` command line against the device protocol.
#pragma once

#include <iosfwd>
#include <span>
#include <string_view>

namespace ofu::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitDeviceFailure = 1;  // not found, refused, or no answer
inline constexpr int kExitUsage = 2;

// `args` excludes the program name. Starts and stops the transport itself.
int RunCli(std::span<const std::string_view> args, std::ostream& out, std::ostream& err,
           std::istream& in);

}  // namespace ofu::cli
