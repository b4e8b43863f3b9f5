// The simulator's journal: one JSON object per line for every request a device received
// and every answer it produced. Keys are listed in docs/devsim.md.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace ofu::devsim {

class Journal {
public:
    using Clock = std::function<double()>;  // seconds since the epoch

    // Keeps every entry in memory (see entries()).
    Journal();
    // Writes every entry as one line to `out` and flushes it, so readers see it at once;
    // entries are not kept.
    explicit Journal(std::ostream& out);

    void setClock(Clock clock);

    // Adds "t" and writes or keeps the entry. Texts that are not UTF-8 are written with
    // replacement characters (device payloads are arbitrary bytes).
    void record(nlohmann::json entry);

    const std::vector<nlohmann::json>& entries() const { return entries_; }
    bool failed() const { return failed_; }

private:
    std::ostream* out_ = nullptr;
    Clock clock_;
    std::vector<nlohmann::json> entries_;
    bool failed_ = false;
};

// The lines of a journal file parsed back, for tests and scripts; lines that are not JSON
// are skipped.
std::vector<nlohmann::json> ParseJournalLines(const std::string& text);

}  // namespace ofu::devsim
