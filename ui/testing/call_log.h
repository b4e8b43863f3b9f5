// The test backend's record of every surface call, message and dialog event, in order.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ofu::ui {

struct LogEntry {
    int templateId = 0;  // the dialog the call went to, 0 for none
    std::string call;    // for example: SetItemText(1016, "admin")
};

class CallLog {
public:
    void Add(int templateId, std::string call);
    void Clear() { entries_.clear(); }

    const std::vector<LogEntry>& Entries() const { return entries_; }
    // Entries whose call text starts with `prefix` (for example "StepProgress(").
    std::size_t Count(std::string_view prefix) const;
    bool Contains(std::string_view call) const;
    std::string Dump() const;

private:
    std::vector<LogEntry> entries_;
};

}  // namespace ofu::ui
