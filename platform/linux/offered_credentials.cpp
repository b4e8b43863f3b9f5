#include "platform/linux/offered_credentials.h"

#include <map>
#include <mutex>
#include <string>

namespace ofu::platform::linux_drives {
namespace {

struct Offers {
    std::mutex mutex;
    std::map<std::string, ShareCredentials> byShare;
};

Offers& TheOffers() {
    static Offers offers;
    return offers;
}

// "server\share" in lower case; a backslash is in neither name, so no two shares meet.
std::string KeyOf(std::string_view server, std::string_view share) {
    std::string key;
    key.reserve(server.size() + share.size() + 1);
    key.append(server).append("\\").append(share);
    for (char& c : key)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return key;
}

}  // namespace

void RememberOfferedCredentials(std::string_view server, std::string_view share, const ShareCredentials& credentials) {
    Offers& offers = TheOffers();
    const std::lock_guard<std::mutex> lock(offers.mutex);
    offers.byShare[KeyOf(server, share)] = credentials;
}

std::optional<ShareCredentials> OfferedCredentials(std::string_view server, std::string_view share) {
    Offers& offers = TheOffers();
    const std::lock_guard<std::mutex> lock(offers.mutex);
    const auto found = offers.byShare.find(KeyOf(server, share));
    if (found == offers.byShare.end()) return std::nullopt;
    return found->second;
}

void ForgetOfferedCredentials() {
    Offers& offers = TheOffers();
    const std::lock_guard<std::mutex> lock(offers.mutex);
    offers.byShare.clear();
}

}  // namespace ofu::platform::linux_drives
