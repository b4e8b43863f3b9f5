// The windowed utility. It reads no command line: the toolkit gets the program name alone.
#include "app/utility_app.h"
#include "platform/services.h"
#include "resources/payloads/embedded_payloads.h"
#include "ui/backend.h"
#include "ui/qt/qt_backend.h"

#include <QApplication>

#include <memory>

int main(int, char** argv) {
    int toolkitArgc = 1;
    char* toolkitArgv[] = {argv[0], nullptr};
    QApplication application(toolkitArgc, toolkitArgv);

    ofu::platform::RegisterEmbeddedResources(ofu::EmbeddedPayloads());
    ofu::platform::InitPlatformServices();
    ofu::ui::InitBackend(std::make_unique<ofu::ui::QtBackend>());
    ofu::theApp.InitInstance();
    ofu::ui::FreeBackend();
    ofu::platform::FreePlatformServices();
    return 0;
}
