#include "platform/linux/embedded_resources.h"

#include <algorithm>
#include <atomic>

namespace ofu::platform {
namespace {

std::atomic<const EmbeddedResource*> tableStart{nullptr};
std::atomic<std::size_t> tableSize{0};

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameTypeName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Upper(x) == Upper(y); });
}

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
        if (resource.id == wanted && SameTypeName(resource.type, typeName)) return resource.bytes;
    return {};
}

}  // namespace ofu::platform
