#include "addons/write_payload.h"

#include "addons/addon_state.h"
#include "platform/services.h"

#include <algorithm>

namespace ofu {
namespace {

constexpr int kConnectionOffers = 6;
constexpr std::size_t kRemoteNameLimit = 255;
// Payloads up to this size are read back and compared byte for byte; larger ones (the
// BitTorrent program) are compared by size alone.
constexpr std::size_t kCompareLimit = 1024 * 1024;

// Offers the share for the path to the network layer, as a guest (empty user and password),
// up to six times until it is taken. The result is otherwise not used: the write says it all.
void OfferConnection(const std::string& path) {
    const platform::NetResource resource{"", path.substr(0, kRemoteNameLimit)};
    for (int offer = 0; offer < kConnectionOffers; ++offer)
        if (platform::Drives().AddConnection(resource, std::string(), std::string(), 0) == platform::NetStatus::Ok)
            return;
}

// Whether `path` holds exactly `payload`. A file that merely exists, such as an older one that
// could not be overwritten, has not received the payload.
bool HoldsPayload(const std::string& path, std::span<const std::uint8_t> payload) {
    platform::FileSystem& disk = platform::Disk();
    // A size can be read only of a file that exists (PathFileExistsA's question, answered in
    // the same look).
    const auto size = disk.FileSize(path);
    if (!size || *size != payload.size()) return false;
    if (payload.size() > kCompareLimit) return true;
    const auto bytes = disk.ReadFile(path, payload.size());
    return bytes && std::equal(bytes->begin(), bytes->end(), payload.begin(), payload.end());
}

}  // namespace

int WritePayload(std::string typeName, int id, std::string writePath, std::string finalPath) {
    const std::span<const std::uint8_t> payload = platform::OwnResources().Find(typeName, id);
    platform::FileSystem& disk = platform::Disk();
    // A payload missing from the program cannot arrive: nothing is opened, so an older file at
    // the destination is not emptied for nothing.
    if (payload.empty()) {
        AddOnState.LastCopyFailed = 1;
        return 0;
    }

    OfferConnection(writePath);
    if (auto file = disk.OpenForWriting(writePath)) {
        file->Write(payload);
        file->Close();
    }
    if (writePath.find("C:\\") != std::string::npos) {
        disk.Remove(finalPath);
        disk.CopyFile(writePath, finalPath, true);
        disk.Remove(writePath);
        writePath = finalPath;
    }
    const bool arrived = HoldsPayload(writePath, payload);
    AddOnState.LastCopyFailed = arrived ? 0 : 1;
    return arrived ? 1 : 0;
}

}  // namespace ofu
