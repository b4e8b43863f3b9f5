// Whether a web server can be reached, as the web configuration launch checks it before it
// starts a browser (InternetCheckConnectionA).
#pragma once

#include <string_view>

namespace ofu::platform {

// Connect to the URL's host even when the system believes it is offline.
inline constexpr unsigned kFlagIccForceConnection = 0x1;

// A check gives its answer within this bound: just below the two seconds after which the web
// configuration launch looks for the last time, so that a web server that answers late (in
// 1.6 s, say) still counts, on every system.
inline constexpr int kCheckConnectionLimitMillis = 1900;

class Internet {
public:
    virtual ~Internet() = default;
    // True when a connection to the host and port of `url` ("http://10.77.1.10") can be
    // made. Gives its answer within kCheckConnectionLimitMillis.
    virtual bool CheckConnection(std::string_view url, unsigned flags) = 0;
};

}  // namespace ofu::platform
