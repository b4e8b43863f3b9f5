// What the MIME association files say about one MIME type: mimeapps.list (the user's and the
// system's choices), mimeinfo.cache (the MimeType= lines of a folder's desktop files) and
// shared-mime-info's subclass list. Pure functions over the files' text; MIME types are
// compared without regard to case.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ofu::platform::desktop {

struct MimeAppsChoices {
    std::vector<std::string> defaults;  // [Default Applications], in order
    std::vector<std::string> added;     // [Added Associations]
    std::vector<std::string> removed;   // [Removed Associations]
};

MimeAppsChoices ReadMimeAppsList(std::string_view text, std::string_view mimeType);

// The desktop ids that the [MIME Cache] group lists for the type.
std::vector<std::string> ReadMimeInfoCache(std::string_view text, std::string_view mimeType);

// The direct parents of the type in a "subclasses" file ("child parent" lines).
std::vector<std::string> ReadMimeParents(std::string_view text, std::string_view mimeType);

}  // namespace ofu::platform::desktop
