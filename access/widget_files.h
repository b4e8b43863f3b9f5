// The desktop widgets of the device models: the widget file of each model, the address file
// the widgets read, and the widget engine's download page.
#pragma once

#include <optional>
#include <string_view>

namespace ofu {

// Where a widget finds the address of the device it shows.
inline constexpr std::string_view kWidgetAddressFile = "C:\\ip.txt";
// The page the widget engine is downloaded from.
inline constexpr std::string_view kWidgetEngineDownloadUrl = "http://widgets.yahoo.com/download/";

// The widget file of ModelChoice 0, 1 or 2 (QMR-120, QMR-140, QMR-180); empty otherwise.
std::optional<std::string_view> WidgetFileForChoice(int modelChoice);

// The widget file of a model text, compared exactly (first QMR-140, then QMR-180, then
// QMR-120); empty when the model is none of them.
std::optional<std::string_view> WidgetFileForModel(std::string_view model);

// Writes `address` alone (no line end) to the address file, creating or emptying it. When
// that fails, no address file is left behind, so that no widget reads an older device's
// address; false then.
bool WriteWidgetAddressFile(std::string_view address);

}  // namespace ofu
