// The payloads that the build embedded into the program: every row of the payload catalogue,
// under its type ("CODEPAGE", "BT") and id, its bytes read-only in the executable's mapped file
// (never copied). A program registers them once at start:
//     platform::RegisterEmbeddedResources(ofu::EmbeddedPayloads());
// Only programs that link ofu_payload_resources and call this carry the payloads.
#pragma once

#include "platform/resources.h"

#include <span>

namespace ofu {

std::span<const platform::EmbeddedResource> EmbeddedPayloads();

}  // namespace ofu
