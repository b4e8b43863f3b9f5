#include "platform/linux/embedded_resources.h"

#include "base/ascii_case.h"

#include <algorithm>
#include <atomic>

namespace ofu::platform {
namespace {

std::atomic<const EmbeddedResource*> tableStart{nullptr};
std::atomic<std::size_t> tableSize{0};

}  // namespace

void RegisterEmbeddedResources(std::span<const EmbeddedResource> table) {
    tableSize.store(0);
    tableStart.store(table.data());
    tableSize.store(table.size());
}

std::span<const std::uint8_t> EmbeddedResources::Find(std::string_view typeName, int id) {
    const auto wanted = static_cast<std::uint16_t>(static_cast<unsigned>(id) & 0xFFFFu);
    const std::span<const EmbeddedResource> table(tableStart.load(), tableSize.load());
    for (const EmbeddedResource& resource : table)
        if (resource.id == wanted && EqualsIgnoringAsciiCase(resource.type, typeName)) return resource.bytes;
    return {};
}

}  // namespace ofu::platform
