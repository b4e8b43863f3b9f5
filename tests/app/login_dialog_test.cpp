#include "protocol/shared_texts.h"
#include "resources/resource_ids.h"
#include "tests/app/app_fixture.h"

namespace ofu {
namespace {

using namespace ofu::testing;

class LoginDialogTest : public AppTest {
protected:
    // Runs a login dialog as a handler would, letting `actions` play the user.
    void RunLogin(ui::DialogActions actions) {
        ui->Script().ExpectDialog(ui::kLoginDialogId, std::move(actions));
        LoginDialog dialog;
        dialog.DoModal();
        ExpectNoFailures();
    }
};

TEST_F(LoginDialogTest, AdministratorModeShowsAdminGreyedAndAnEmptyPassword) {
    AdminLoginMode = 1;
    RunLogin([](ui::TestDialog& d) {
        EXPECT_EQ(d.Surface().GetItemText(ids::kUserNameEdit), "admin");
        EXPECT_FALSE(d.Surface().IsItemEnabled(ids::kUserNameEdit));
        EXPECT_EQ(d.Surface().GetItemText(ids::kPasswordEdit), "");
        d.Click(ui::kIdOk);
    });
    EXPECT_EQ(LoginUserName.view(), "admin");
    EXPECT_EQ(LoginPassword.view(), "");  // OK with an empty password stores the empty text
}

TEST_F(LoginDialogTest, ShareModeTakesTheLoggedOnUserOnlyOnWindows98AndMe) {
    struct Case { std::optional<platform::OsVersion> version; bool userShown; };
    const Case cases[] = {
        {platform::OsVersion{1, 4, 10, 2222}, true},    // Windows 98 SE
        {platform::OsVersion{1, 4, 90, 3000}, true},    // Windows ME
        {platform::OsVersion{2, 5, 1, 2600}, false},    // Windows XP
        {std::nullopt, false},                          // no Windows version at all
    };
    for (const Case& c : cases) {
        platform.system.version = c.version;
        RunLogin([&](ui::TestDialog& d) {
            EXPECT_EQ(d.Surface().GetItemText(ids::kUserNameEdit), c.userShown ? "alice" : "");
            EXPECT_EQ(d.Surface().IsItemEnabled(ids::kUserNameEdit), !c.userShown);
            d.Click(ui::kIdCancel);
        });
    }
}

TEST_F(LoginDialogTest, NeitherBoxTakesASeventeenthCharacterAndCancelStoresNothing) {
    LoginUserName = "before";
    RunLogin([](ui::TestDialog& d) {
        d.Type(ids::kUserNameEdit, "abcdefghijklmnopq");
        d.Type(ids::kPasswordEdit, "0123456789abcdefg");
        EXPECT_EQ(d.Surface().GetItemText(ids::kUserNameEdit), "abcdefghijklmnop");
        EXPECT_EQ(d.Surface().GetItemText(ids::kPasswordEdit), "0123456789abcdef");
        d.Click(ui::kIdCancel);
    });
    EXPECT_EQ(LoginUserName.view(), "before");
    RunLogin([](ui::TestDialog& d) {
        d.Type(ids::kUserNameEdit, "guest");
        d.Type(ids::kPasswordEdit, "0123456789abcdef");
        d.PressEnter();
    });
    EXPECT_EQ(LoginUserName.view(), "guest");
    EXPECT_EQ(LoginPassword.view(), "0123456789abcdef");
}

TEST_F(LoginDialogTest, AdministratorLoginWithTheBuiltInAccountNeedsNoDialog) {
    auto window = ui->Open(main);
    ClickDevice(window, "NAS1");  // accepts "admin" with the empty password
    LoginDialog dialog;
    EXPECT_TRUE(RequireAdminLogin(dialog));
    ExpectNoFailures();  // no dialog was scripted, none appeared
}

}  // namespace
}  // namespace ofu
