#include "platform/linux/key_file.h"

namespace ofu::platform::desktop {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

std::optional<std::vector<KeyFileEntry>> ReadKeyFileGroup(std::string_view text, std::string_view group) {
    std::vector<KeyFileEntry> entries;
    bool found = false;
    bool inGroup = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::string_view trimmed = Trim(line);
        if (trimmed.empty() || trimmed.front() == '#') continue;
        if (trimmed.front() == '[') {
            inGroup = trimmed.size() >= 2 && trimmed.back() == ']' && trimmed.substr(1, trimmed.size() - 2) == group;
            found = found || inGroup;
            continue;
        }
        if (!inGroup) continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view key = Trim(line.substr(0, equals));
        if (key.empty()) continue;
        std::string_view value = line.substr(equals + 1);
        while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
        entries.push_back({std::string(key), std::string(value)});
    }
    if (!found) return std::nullopt;
    return entries;
}

const std::string* FindKey(const std::vector<KeyFileEntry>& entries, std::string_view key) {
    for (const KeyFileEntry& entry : entries)
        if (entry.key == key) return &entry.value;
    return nullptr;
}

std::string UnescapeKeyFileValue(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t k = 0; k < value.size(); ++k) {
        if (value[k] != '\\' || k + 1 >= value.size()) {
            out.push_back(value[k]);
            continue;
        }
        switch (value[k + 1]) {
            case 's': out.push_back(' '); break;
            case 'n': out.push_back('\n'); break;
            case 't': out.push_back('\t'); break;
            case 'r': out.push_back('\r'); break;
            case '\\': out.push_back('\\'); break;
            default: out.push_back('\\'); continue;  // the next character is read as itself
        }
        ++k;
    }
    return out;
}

std::vector<std::string> SplitKeyFileList(std::string_view value) {
    std::vector<std::string> items;
    std::string raw;
    auto finish = [&] {
        const std::string item = UnescapeKeyFileValue(raw);
        const std::string_view trimmed = Trim(item);
        if (!trimmed.empty()) items.emplace_back(trimmed);
        raw.clear();
    };
    for (std::size_t k = 0; k < value.size(); ++k) {
        if (value[k] == '\\' && k + 1 < value.size()) {
            if (value[k + 1] == ';') {
                raw.push_back(';');
            } else {
                raw.push_back('\\');
                raw.push_back(value[k + 1]);
            }
            ++k;
        } else if (value[k] == ';') {
            finish();
        } else {
            raw.push_back(value[k]);
        }
    }
    finish();
    return items;
}

}  // namespace ofu::platform::desktop
