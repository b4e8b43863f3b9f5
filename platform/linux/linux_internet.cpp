#include "platform/linux/linux_internet.h"

namespace ofu::platform {

bool LinuxInternet::CheckConnection(std::string_view, unsigned) { return false; }

}  // namespace ofu::platform
