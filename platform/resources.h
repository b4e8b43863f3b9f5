// The program's own resources, as FindResourceA / LoadResource / LockResource / SizeofResource
// give them: read-only bytes identified by a resource type name and a 16-bit id. On Windows
// they are the executable's resources; elsewhere the program registers the table of blobs that
// its build embedded, once at start.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace ofu::platform {

struct EmbeddedResource {
    std::string_view type;  // stored in capitals ("CODEPAGE", "BT")
    std::uint16_t id = 0;
    std::span<const std::uint8_t> bytes;
};

class Resources {
public:
    virtual ~Resources() = default;
    // The bytes of resource `id` (its low 16 bits) of type `typeName`, the type name compared
    // without regard to case; empty when there is none. The bytes stay valid for the life of
    // the process and are never copied.
    virtual std::span<const std::uint8_t> Find(std::string_view typeName, int id) = 0;
};

// The embedded table that the system's Resources answers from (a program calls this once at
// start, before InitPlatformServices or after; the table must live as long as the process).
void RegisterEmbeddedResources(std::span<const EmbeddedResource> table);

}  // namespace ofu::platform
