#include "access/widget_files.h"

#include "platform/services.h"

#include <array>
#include <cstdio>
#include <string>

namespace ofu {
namespace {

struct ModelWidget {
    std::string_view model;
    std::string_view file;
};

// In ModelChoice order.
constexpr std::array<ModelWidget, 3> kWidgets = {{
    {"QMR-120", "OSTRELEu_QMR120_Widget.widget"},
    {"QMR-140", "OSTRELEu_QMR140_Widget.widget"},
    {"QMR-180", "OSTRELEu_QMR180_Widget.widget"},
}};

}  // namespace

std::optional<std::string_view> WidgetFileForChoice(int modelChoice) {
    if (modelChoice < 0 || modelChoice >= static_cast<int>(kWidgets.size())) return std::nullopt;
    return kWidgets[static_cast<std::size_t>(modelChoice)].file;
}

std::optional<std::string_view> WidgetFileForModel(std::string_view model) {
    for (const int choice : {1, 2, 0})
        if (model == kWidgets[static_cast<std::size_t>(choice)].model) return WidgetFileForChoice(choice);
    return std::nullopt;
}

bool WriteWidgetAddressFile(std::string_view address) {
    const std::string path = platform::Files().HostPath(kWidgetAddressFile);
    if (path.empty()) return false;
    bool written = false;
    if (platform::Files().PrepareFolders(kWidgetAddressFile)) {
        if (std::FILE* file = std::fopen(path.c_str(), "w+")) {
            written = std::fwrite(address.data(), 1, address.size(), file) == address.size();
            written = std::fclose(file) == 0 && written;
        }
    }
    if (!written) std::remove(path.c_str());
    return written;
}

}  // namespace ofu
