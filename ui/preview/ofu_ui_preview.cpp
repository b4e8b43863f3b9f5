// Renders every dialog template to <folder>/dialog_<id>.png (default folder: "preview").
// The lists of the main window get their columns and a sample row so that the picture shows
// what a user sees. Run it with QT_QPA_PLATFORM=offscreen to render without a display.
#include <QApplication>
#include <QDir>
#include <cstdio>

#include "resources/dialog_templates.h"
#include "ui/dialog.h"
#include "ui/qt/qt_backend.h"

namespace {

using namespace ofu::ui;

void FillSample(Dialog& dialog) {
    DialogSurface& surface = dialog.Surface();
    if (dialog.TemplateId() == kMainDialogId) {
        const struct {
            const char* title;
            int width;
        } devices[] = {{"Name", 94}, {"IP", 81}, {"Netmask", 81}, {"Gateway", 81}};
        for (int i = 0; i < 4; ++i) surface.InsertColumn(1000, i, devices[i].title, devices[i].width);
        surface.InsertColumn(1001, 0, "Volume Name", 120);
        surface.InsertColumn(1001, 1, "Location", 100);
        surface.InsertRow(1000, 0, "NAS1");
        surface.SetCellText(1000, 0, 1, "10.77.0.20");
        surface.SetCellText(1000, 0, 2, "255.255.0.0");
        surface.SetCellText(1000, 0, 3, "10.77.0.1");
        surface.InsertRow(1001, 0, "Volume_1");
        surface.SetCellText(1001, 0, 1, "K:");
        surface.SetAddress(1006, {10, 77, 0, 20});
        surface.SetAddress(1010, {255, 255, 0, 0});
        surface.SetCurSel(1015, 0);
        surface.AddString(1013, "Z:");
        surface.SetCurSel(1013, 0);
    } else if (dialog.TemplateId() == kRestartDialogId) {
        surface.SetProgressRange(1023, 1, 100);
        surface.SetProgressPos(1023, 40);
    } else if (dialog.TemplateId() == kLanguageDialogId) {
        surface.SetCurSel(1022, 2);
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("preview");
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder));
        return 1;
    }
    InitBackend(std::make_unique<QtBackend>());
    auto* backend = static_cast<QtBackend*>(ActiveBackend());
    int failures = 0;
    for (const DialogTemplate* layout : AllTemplates()) {
        Dialog dialog(layout->id);
        QtOpenDialog open = backend->Open(dialog);
        FillSample(dialog);
        QApplication::processEvents();
        const QString path = QStringLiteral("%1/dialog_%2.png").arg(folder).arg(layout->id);
        if (open.SaveImage(path)) {
            std::printf("%s\n", qPrintable(path));
        } else {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ++failures;
        }
    }
    FreeBackend();
    return failures == 0 ? 0 : 1;
}
