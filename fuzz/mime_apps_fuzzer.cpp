// Reading mimeapps.list, mimeinfo.cache and the subclass list. The input's first line is
// the MIME type asked about (at most 255 bytes), the rest the file's text. Whatever the text,
// every desktop id read is a non-empty item with no blank at either end, and every key-file
// entry is a trimmed, non-empty key on one line.
#include "fuzz/support/fuzz_input.h"
#include "platform/linux/key_file.h"
#include "platform/linux/mime_apps.h"

#include <string>
#include <vector>

namespace {

using namespace ofu::platform::desktop;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

void CheckIds(const std::vector<std::string>& ids) {
    for (const std::string& id : ids)
        OFU_FUZZ_CHECK(!id.empty() && !IsBlank(id.front()) && !IsBlank(id.back()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text = ofu::fuzz::AsText({data, size});
    const std::size_t end = std::min<std::size_t>(text.find('\n'), 255);
    const std::string_view mimeType = text.substr(0, std::min(end, text.size()));
    text.remove_prefix(std::min(end + 1, text.size()));

    const MimeAppsChoices choices = ReadMimeAppsList(text, mimeType);
    CheckIds(choices.defaults);
    CheckIds(choices.added);
    CheckIds(choices.removed);
    CheckIds(ReadMimeInfoCache(text, mimeType));
    for (const std::string& parent : ReadMimeParents(text, mimeType))
        OFU_FUZZ_CHECK(!parent.empty() && parent.find_first_of(" \n") == std::string::npos);

    if (const auto entries = ReadKeyFileGroup(text, "Default Applications")) {
        for (const KeyFileEntry& entry : *entries) {
            OFU_FUZZ_CHECK(!entry.key.empty() && !IsBlank(entry.key.front()) && !IsBlank(entry.key.back()));
            OFU_FUZZ_CHECK(entry.key.find_first_of("=\n") == std::string::npos);
            OFU_FUZZ_CHECK(entry.value.find('\n') == std::string::npos);
        }
    }
    return 0;
}
