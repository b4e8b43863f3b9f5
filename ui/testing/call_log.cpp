#include "ui/testing/call_log.h"

#include <utility>

namespace ofu::ui {

void CallLog::Add(int templateId, std::string call) {
    entries_.push_back({templateId, std::move(call)});
}

std::size_t CallLog::Count(std::string_view prefix) const {
    std::size_t count = 0;
    for (const LogEntry& entry : entries_) {
        if (std::string_view(entry.call).starts_with(prefix)) ++count;
    }
    return count;
}

bool CallLog::Contains(std::string_view call) const {
    for (const LogEntry& entry : entries_) {
        if (entry.call == call) return true;
    }
    return false;
}

std::string CallLog::Dump() const {
    std::string out;
    for (const LogEntry& entry : entries_) {
        out += std::to_string(entry.templateId) + ": " + entry.call + "\n";
    }
    return out;
}

}  // namespace ofu::ui
