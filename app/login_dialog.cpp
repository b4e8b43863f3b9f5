#include "app/login_dialog.h"

#include "access/windows_version.h"
#include "platform/services.h"
#include "protocol/commands.h"
#include "protocol/shared_texts.h"
#include "resources/control_ids.h"
#include "resources/resource_ids.h"
#include "ui/message_box.h"

#include <string>

namespace ofu {

std::int32_t AdminLoginMode = 0;

LoginDialog::LoginDialog() : ui::Dialog(ui::kLoginDialogId) {}

void LoginDialog::ShowTexts() {
    ui::DialogSurface& surface = Surface();
    surface.SetTextLimit(ids::kUserNameEdit, kLoginTextLimit);
    surface.SetTextLimit(ids::kPasswordEdit, kLoginTextLimit);
    surface.SetItemText(ids::kUserNameEdit, userName_.view());
    surface.SetItemText(ids::kPasswordEdit, password_.view());
}

bool LoginDialog::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    if (AdminLoginMode == 1) {
        userName_ = "admin";
        ShowTexts();
        Surface().EnableItem(ids::kUserNameEdit, false);
        return true;
    }
    std::string version;
    GetWindowsVersionName(version);
    if (version.find("ME") != std::string::npos || version.find("98") != std::string::npos) {
        // On these systems the share credentials are those of the user logged on. A longer
        // name than the box takes is cut to its 16 characters.
        userName_ = platform::System().GetUserName().value_or("").substr(0, 127);
        ShowTexts();
        Surface().EnableItem(ids::kUserNameEdit, false);
    } else {
        userName_.clear();
        ShowTexts();
        Surface().EnableItem(ids::kUserNameEdit, true);
    }
    return true;
}

void LoginDialog::OnOK() {
    userName_ = Surface().GetItemText(ids::kUserNameEdit);
    password_ = Surface().GetItemText(ids::kPasswordEdit);
    LoginUserName = userName_;
    LoginPassword = password_;
    // Closes as Cancel does: no caller looks at the result.
    OnCancel();
}

bool RequireAdminLogin(LoginDialog& dialog) {
    LoginUserName = "admin";
    LoginPassword.clear();
    if (Login() != 0) return true;
    dialog.DoModal();
    if (Login() != 0) return true;
    ui::ShowMessage("Wrong administrator password input!", "Error", ui::MessageIcon::Error);
    return false;
}

}  // namespace ofu
