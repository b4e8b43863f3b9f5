// Web server reachability through WinINet's InternetCheckConnectionA.
#pragma once

#include "platform/internet.h"

namespace ofu::platform {

class WinInetInternet final : public Internet {
public:
    bool CheckConnection(std::string_view url, unsigned flags) override;
};

}  // namespace ofu::platform
