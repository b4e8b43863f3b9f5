// The `ofu` commands on the workstation's side of a device: listing and mapping drive letters,
// and opening the device's web page. They run the same steps as the main window's Connect,
// Disconnect and Configuration buttons.
#pragma once

#include "tools/ofu/cli_arguments.h"

#include <iosfwd>
#include <string_view>

namespace ofu::cli {

// `ofu drives`: no network needed.
int RunDrives(const CliRequest& request, std::ostream& out);
// `ofu unmap DRIVE`.
int RunUnmap(const CliRequest& request, std::ostream& out, std::ostream& err);
// `ofu map` and `ofu web` after the search has found the device; TargetDeviceAddress is set.
int RunMap(const CliRequest& request, std::string_view password, std::ostream& out, std::ostream& err);
int RunWeb(const CliRequest& request, std::ostream& out, std::ostream& err);

}  // namespace ofu::cli
