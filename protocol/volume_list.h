// The volume names of the target device from the last volume query, in the order of the
// answer, each name once.
#pragma once

#include "protocol/bounded_text.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace ofu {

struct VolumeEntry {
    BoundedText<256> name;
};

class VolumeEntryList {
public:
    using const_iterator = std::vector<VolumeEntry>::const_iterator;

    std::int32_t count() const { return static_cast<std::int32_t>(entries_.size()); }
    bool empty() const { return entries_.empty(); }
    const_iterator begin() const { return entries_.begin(); }
    const_iterator end() const { return entries_.end(); }
    const VolumeEntry& at(std::size_t n) const { return entries_.at(n); }

    bool contains(std::string_view name) const;
    // Appends at the tail unless an entry has exactly this name (after the cut to 255).
    bool append(std::string_view name);
    void clear() { entries_.clear(); }

private:
    std::vector<VolumeEntry> entries_;
};

extern VolumeEntryList VolumeList;

// Splits a volume query's value at each ":" (runs of separators count as one, empty pieces
// are skipped) and appends each piece in order.
void AppendVolumeNames(std::string_view value);

}  // namespace ofu
