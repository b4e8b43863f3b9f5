// The "Login" dialog: a user name and a password, either for the device's administrator
// (AdminLoginMode 1: the name is "admin" and cannot be changed) or for the credentials of a
// share connection. It only collects the two texts; OK leaves them in LoginUserName and
// LoginPassword.
#pragma once

#include "protocol/bounded_text.h"
#include "ui/dialog.h"

#include <cstdint>

namespace ofu {

// 1: the login dialog asks for the administrator password; 0: for share credentials.
extern std::int32_t AdminLoginMode;

inline constexpr int kLoginTextLimit = 16;

class LoginDialog final : public ui::Dialog {
public:
    LoginDialog();

    bool OnInitDialog() override;
    void OnOK() override;

    const BoundedText<kLoginTextLimit + 1>& userName() const { return userName_; }
    const BoundedText<kLoginTextLimit + 1>& password() const { return password_; }

private:
    void ShowTexts();

    BoundedText<kLoginTextLimit + 1> userName_;
    BoundedText<kLoginTextLimit + 1> password_;
};

// The administrator login: "admin" with the empty password first, then the password the user
// types into `dialog`. True when the device accepted; false after telling the user.
bool RequireAdminLogin(LoginDialog& dialog);

}  // namespace ofu
