// The registry keys the utility reads, answered on Linux from the desktop's settings: the two
// default-browser keys come from the freedesktop default web browser; every other key is empty.
#pragma once

#include "platform/registry.h"

namespace ofu::platform {

class LinuxRegistry final : public Registry {
public:
    std::optional<std::string> QueryString(RegistryRoot root, std::string_view path, std::string_view valueName,
                                           std::size_t bufferLength) override;
};

}  // namespace ofu::platform
