// The payloads of this program as its build embedded them, and the mappings of this process
// as the kernel lists them in /proc/self/maps.
#include "tests/payloads/program_image.h"

#include "resources/payloads/embedded_payloads.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace ofu::test {

bool InReadOnlyImageOfTheProgram(std::span<const std::uint8_t> bytes) {
    const std::filesystem::path self = std::filesystem::canonical("/proc/self/exe");
    const auto first = reinterpret_cast<std::uintptr_t>(bytes.data()), last = first + bytes.size();
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);) {
        std::istringstream fields(line);
        std::string range, perms, offset, device, inode, path;
        fields >> range >> perms >> offset >> device >> inode >> path;
        const std::uintptr_t start = std::stoull(range, nullptr, 16);
        const std::uintptr_t end = std::stoull(range.substr(range.find('-') + 1), nullptr, 16);
        if (start <= first && last <= end) return perms[1] == '-' && path == self.string();
    }
    return false;
}

std::vector<std::pair<std::string, int>> CarriedPayloads() {
    std::vector<std::pair<std::string, int>> carried;
    for (const platform::EmbeddedResource& resource : EmbeddedPayloads())
        carried.emplace_back(std::string(resource.type), resource.id);
    return carried;
}

}  // namespace ofu::test
