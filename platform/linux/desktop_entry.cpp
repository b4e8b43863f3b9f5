#include "platform/linux/desktop_entry.h"

#include "platform/linux/key_file.h"

namespace ofu::platform::desktop {
namespace {

std::string Text(const std::vector<KeyFileEntry>& entries, std::string_view key) {
    const std::string* value = FindKey(entries, key);
    return value == nullptr ? std::string() : UnescapeKeyFileValue(*value);
}

bool Flag(const std::vector<KeyFileEntry>& entries, std::string_view key) {
    const std::string value = Text(entries, key);
    return value == "true" || value == "1";
}

}  // namespace

std::optional<DesktopEntry> ParseDesktopEntry(std::string_view text) {
    const auto entries = ReadKeyFileGroup(text, "Desktop Entry");
    if (!entries) return std::nullopt;
    DesktopEntry entry;
    entry.type = Text(*entries, "Type");
    entry.name = Text(*entries, "Name");
    entry.exec = Text(*entries, "Exec");
    entry.tryExec = Text(*entries, "TryExec");
    entry.icon = Text(*entries, "Icon");
    entry.hidden = Flag(*entries, "Hidden");
    entry.noDisplay = Flag(*entries, "NoDisplay");
    return entry;
}

}  // namespace ofu::platform::desktop
