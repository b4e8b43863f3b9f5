// The windowed utility on Windows: the native dialog backend over the executable's own dialog
// resources. It reads no command line. The payloads are the executable's resources too, so
// nothing needs registering.
#include "app/utility_app.h"
#include "platform/services.h"
#include "ui/backend.h"
#include "ui/win32/win32_backend.h"

#include <memory>

int main() {
    ofu::platform::InitPlatformServices();
    ofu::ui::InitBackend(std::make_unique<ofu::ui::Win32Backend>());
    ofu::theApp.InitInstance();
    ofu::ui::FreeBackend();
    ofu::platform::FreePlatformServices();
    return 0;
}
