// The dotted address of the device last chosen in the main window, for the device access and
// add-on handlers (the main window writes it when a device is clicked, Connect and
// Configuration when they start).
#pragma once

#include "protocol/bounded_text.h"

namespace ofu {

extern BoundedText<64> SelectedDeviceAddress;

}  // namespace ofu
