#include "platform/linux/mime_apps.h"

#include "platform/linux/key_file.h"
#include "base/ascii_case.h"

namespace ofu::platform::desktop {
namespace {

std::vector<std::string> IdsFor(std::string_view text, std::string_view group, std::string_view mimeType) {
    std::vector<std::string> ids;
    const auto entries = ReadKeyFileGroup(text, group);
    if (!entries) return ids;
    for (const KeyFileEntry& entry : *entries) {
        if (!EqualsIgnoringAsciiCase(entry.key, mimeType)) continue;
        for (std::string& id : SplitKeyFileList(entry.value)) ids.push_back(std::move(id));
    }
    return ids;
}

}  // namespace

MimeAppsChoices ReadMimeAppsList(std::string_view text, std::string_view mimeType) {
    MimeAppsChoices choices;
    choices.defaults = IdsFor(text, "Default Applications", mimeType);
    choices.added = IdsFor(text, "Added Associations", mimeType);
    choices.removed = IdsFor(text, "Removed Associations", mimeType);
    return choices;
}

std::vector<std::string> ReadMimeInfoCache(std::string_view text, std::string_view mimeType) {
    return IdsFor(text, "MIME Cache", mimeType);
}

std::vector<std::string> ReadMimeParents(std::string_view text, std::string_view mimeType) {
    std::vector<std::string> parents;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::size_t blank = line.find(' ');
        if (blank == std::string_view::npos || line.front() == '#') continue;
        const std::string_view parent = line.substr(blank + 1);
        if (EqualsIgnoringAsciiCase(line.substr(0, blank), mimeType) && !parent.empty() &&
            parent.find(' ') == std::string_view::npos)
            parents.emplace_back(parent);
    }
    return parents;
}

}  // namespace ofu::platform::desktop
