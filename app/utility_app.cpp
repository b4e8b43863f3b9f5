#include "app/utility_app.h"

#include "app/main_dialog.h"
#include "protocol/transport.h"

namespace ofu {

UtilityApp theApp;

bool UtilityApp::InitInstance() {
    StartTransport();
    // The dialog colours (background RGB(0, 98, 147), white labels) are the backend's: every
    // dialog it builds takes them.
    MainDialog mainDialog;
    mainDialog.DoModal();
    return false;
}

}  // namespace ofu
