// Reading the freedesktop key-file format (desktop entries, mimeapps.list, mimeinfo.cache):
// "[Group]" headers, "Key=Value" lines, '#' comments. Pure functions over the file's text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ofu::platform::desktop {

struct KeyFileEntry {
    std::string key;    // "Exec", "Name[de]", "x-scheme-handler/http"
    std::string value;  // as written, escapes not undone
};

// The entries of every group named `group`, in file order (a group that appears twice is
// read as one); empty when the text has no such group. Lines may end in "\r\n"; spaces
// around '=' are ignored.
std::optional<std::vector<KeyFileEntry>> ReadKeyFileGroup(std::string_view text, std::string_view group);

// The value of the first entry named `key`, or nullptr.
const std::string* FindKey(const std::vector<KeyFileEntry>& entries, std::string_view key);

// Undoes the key-file escapes \s \n \t \r \\ (any other backslash stays as written).
std::string UnescapeKeyFileValue(std::string_view value);

// A ';'-separated list ("a.desktop;b.desktop;"): items unescaped and trimmed, "\;" kept as a
// ';' inside an item, empty items dropped.
std::vector<std::string> SplitKeyFileList(std::string_view value);


}  // namespace ofu::platform::desktop
