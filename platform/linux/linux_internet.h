// Reachability of a web server on Linux: a TCP connect to the URL's host and port with a
// bound of its own.
#pragma once

#include "platform/internet.h"

namespace ofu::platform {

class LinuxInternet final : public Internet {
public:
    bool CheckConnection(std::string_view url, unsigned flags) override;
};

}  // namespace ofu::platform
