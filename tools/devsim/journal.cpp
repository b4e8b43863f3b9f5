#include "journal.h"

#include <chrono>
#include <sstream>

namespace ofu::devsim {
namespace {

double SystemSeconds() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration<double>(now).count();
}

}  // namespace

Journal::Journal() : clock_(SystemSeconds) {}

Journal::Journal(std::ostream& out) : out_(&out), clock_(SystemSeconds) {}

void Journal::setClock(Clock clock) { clock_ = std::move(clock); }

void Journal::record(nlohmann::json entry) {
    // Milliseconds are enough to order the lines of one run.
    entry["t"] = static_cast<double>(static_cast<long long>(clock_() * 1000.0)) / 1000.0;
    if (!out_) {
        entries_.push_back(std::move(entry));
        return;
    }
    *out_ << entry.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    out_->flush();
    if (!*out_) failed_ = true;
}

std::vector<nlohmann::json> ParseJournalLines(const std::string& text) {
    std::vector<nlohmann::json> entries;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        auto entry = nlohmann::json::parse(line, nullptr, false);
        if (!entry.is_discarded() && entry.is_object()) entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace ofu::devsim
