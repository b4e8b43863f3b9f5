#include "access/selected_device.h"

namespace ofu {

BoundedText<64> SelectedDeviceAddress;

}  // namespace ofu
