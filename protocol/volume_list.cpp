#include "protocol/volume_list.h"

namespace ofu {

VolumeEntryList VolumeList;

bool VolumeEntryList::contains(std::string_view name) const {
    for (const auto& entry : entries_)
        if (entry.name == name) return true;
    return false;
}

bool VolumeEntryList::append(std::string_view name) {
    VolumeEntry entry;
    entry.name = name;
    if (contains(entry.name.view())) return false;
    entries_.push_back(entry);
    return true;
}

void AppendVolumeNames(std::string_view value) {
    std::size_t start = 0;
    while (start <= value.size()) {
        std::size_t end = value.find(':', start);
        if (end == std::string_view::npos) end = value.size();
        if (end > start) VolumeList.append(value.substr(start, end - start));
        start = end + 1;
    }
}

}  // namespace ofu
