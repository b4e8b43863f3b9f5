// The files the default-handler lookup reads, behind an interface so that the lookup can be
// tried on files held in memory.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace ofu::platform::desktop {

class DesktopFiles {
public:
    virtual ~DesktopFiles() = default;
    // The text of a regular file, or empty when it cannot be read or is larger than the limit
    // for settings files.
    virtual std::optional<std::string> ReadText(const std::string& path) const = 0;
    virtual bool IsFolder(const std::string& path) const = 0;
    // A regular file that this user may execute.
    virtual bool IsExecutableFile(const std::string& path) const = 0;
};

// Settings files are small; anything larger than this is not one.
inline constexpr std::size_t kMaxSettingsFileBytes = 4 * 1024 * 1024;

// The files of this system.
const DesktopFiles& SystemDesktopFiles();

}  // namespace ofu::platform::desktop
