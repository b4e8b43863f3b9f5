// ofu-window-shot: opens the utility's main window (its first search runs as usual),
// optionally clicks one device, and saves the window as a PNG. For machines without a
// display and for the pictures of the documentation; run it where the devices are (in the
// lab: scripts/lab exec).
//
//   ofu-window-shot OUTPUT.png [--click DEVICE-NAME]
#include "app/main_dialog.h"
#include "platform/services.h"
#include "protocol/transport.h"
#include "resources/control_ids.h"
#include "ui/backend.h"
#include "ui/qt/qt_backend.h"
#include "ui/qt/qt_dialog_window.h"

#include <QApplication>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: ofu-window-shot OUTPUT.png [--click DEVICE-NAME]\n");
    return 2;
}

// Selects the row of `name` and notifies the window as a click on it does.
bool ClickDevice(ofu::MainDialog& main, const std::string& name) {
    ofu::ui::DialogSurface& surface = main.Surface();
    for (int row = 0; row < surface.RowCount(ofu::ids::kDeviceList); ++row) {
        if (surface.GetCellText(ofu::ids::kDeviceList, row, 0) != name) continue;
        surface.SelectRow(ofu::ids::kDeviceList, row);
        main.Dispatch({ofu::ids::kDeviceList, ofu::ui::Notification::ListClick, row});
        return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4) return Usage();
    const std::string output = argv[1];
    std::string click;
    if (argc == 4) {
        if (std::strcmp(argv[2], "--click") != 0) return Usage();
        click = argv[3];
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    int toolkitArgc = 1;
    char* toolkitArgv[] = {argv[0], nullptr};
    QApplication application(toolkitArgc, toolkitArgv);
    ofu::platform::InitPlatformServices();
    auto backend = std::make_unique<ofu::ui::QtBackend>();
    ofu::ui::QtBackend& qt = *backend;
    ofu::ui::InitBackend(std::move(backend));
    // Messages would wait for a user: print them instead.
    qt.SetMessageHook([](const ofu::ui::MessageRequest& message) {
        std::fprintf(stderr, "message: %s\n", message.text.c_str());
        return 1;
    });

    ofu::StartTransport();
    int status = 0;
    {
        ofu::MainDialog main;
        ofu::ui::QtOpenDialog window = qt.Open(main);
        if (!click.empty() && !ClickDevice(main, click)) {
            std::fprintf(stderr, "ofu-window-shot: no device named %s was found\n", click.c_str());
            status = 1;
        }
        QApplication::processEvents();
        if (status == 0 && !window.SaveImage(QString::fromStdString(output))) {
            std::fprintf(stderr, "ofu-window-shot: cannot write %s\n", output.c_str());
            status = 1;
        }
        window.Close();
    }
    ofu::StopTransport();
    ofu::ui::FreeBackend();
    ofu::platform::FreePlatformServices();
    if (status == 0) std::printf("%s\n", output.c_str());
    return status;
}
