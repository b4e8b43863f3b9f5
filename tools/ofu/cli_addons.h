// The `ofu` commands of the add-on installation: the payload catalogue, one payload's bytes,
// and the language and BitTorrent installations with the same checks, plans and restart wait
// as the main window's Language and BitTorrent buttons.
#pragma once

#include "tools/ofu/cli_arguments.h"

#include <iosfwd>
#include <string_view>

namespace ofu::cli {

int RunPayloads(const CliRequest& request, std::ostream& out);
int RunPayload(const CliRequest& request, std::ostream& out, std::ostream& err);
// After the search has found the device; TargetDeviceAddress is set.
int RunInstallLanguage(const CliRequest& request, std::ostream& out, std::ostream& err);
int RunInstallBitTorrent(const CliRequest& request, std::string_view password, std::ostream& out, std::ostream& err);

}  // namespace ofu::cli
