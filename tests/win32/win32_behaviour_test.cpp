// The Win32 backend runs dialogs with the dialog manager's rules for Enter, Escape and the close
// box, the dialog colours, the system menu, window timers, real message boxes and the
// notifications of the controls.
#include <chrono>

#include "resources/string_table.h"
#include "test_dialogs.h"
#include "ui/win32/win32_picture.h"
#include "ui/win32/win32_text.h"
#include "win32_fixture.h"

namespace ofu::ui {
namespace {

using testdialogs::RecordingDialog;
using testdialogs::StubbornDialog;

TEST_F(Win32Fixture, EnterEscapeAndTheCloseBoxEndAModalDialog) {
    RecordingDialog login(kLoginDialogId);
    Later(50, [] { PressKey(VK_RETURN); });
    EXPECT_EQ(login.DoModal(), kIdOk);
    EXPECT_FALSE(login.IsOpen());
    Later(50, [] { PressKey(VK_ESCAPE); });
    EXPECT_EQ(login.DoModal(), kIdCancel);
    Later(50, [this] { PostMessageW(Front(), WM_SYSCOMMAND, SC_CLOSE, 0); });  // the close box
    EXPECT_EQ(login.DoModal(), kIdCancel);
    Later(50, [this] { PostMessageW(Front(), WM_CLOSE, 0, 0); });
    EXPECT_EQ(login.DoModal(), kIdCancel);
    EXPECT_EQ(login.calls, (std::vector<std::string>{"syscommand 61536", "close", "close"}));

    // The main window has no OK button: Enter in its device list or in an address box still
    // ends it.
    RecordingDialog main(kMainDialogId);
    Later(50, [&main] {
        EXPECT_EQ(main.Surface().FocusedItem(), 1000);
        PressKey(VK_RETURN);
    });
    EXPECT_EQ(main.DoModal(), kIdOk);
    Later(50, [&main] {
        main.Surface().FocusAddressField(1006, 2);
        EXPECT_EQ(main.Surface().FocusedItem(), 1006);
        PressKey(VK_RETURN);
    });
    EXPECT_EQ(main.DoModal(), kIdOk);
}

TEST_F(Win32Fixture, EnterOnAFocusedButtonClicksItAndADisabledDefaultButtonDoesNothing) {
    RecordingDialog login(kLoginDialogId);
    Later(50, [&login] {
        login.Surface().SetFocusTo(kIdCancel);
        PressKey(VK_RETURN);
    });
    EXPECT_EQ(login.DoModal(), kIdCancel);

    Later(50, [&login] {
        login.Surface().EnableItem(kIdOk, false);
        PressKey(VK_RETURN);
        Later(100, [] { PressKey(VK_ESCAPE); });
    });
    EXPECT_EQ(login.DoModal(), kIdCancel);
}

// OK and Cancel do nothing: only the timer ends the dialog.
class TimedDialog : public StubbornDialog {
public:
    TimedDialog() : StubbornDialog(kLoadingDialogId) {}
    int fired = 0;
    bool OnInitDialog() override {
        Surface().SetTimer(2, 150);
        return true;
    }
    void OnTimer(int timerId) override {
        ++fired;
        Surface().KillTimer(timerId);
        EndDialog(timerId == 2 ? 7 : -1);
    }
};

TEST_F(Win32Fixture, TimerEndsADialogThatIgnoresEnterEscapeAndClose) {
    TimedDialog loading;
    Later(30, [this] {
        PressKey(VK_RETURN);
        PressKey(VK_ESCAPE);
        PostMessageW(Front(), WM_CLOSE, 0, 0);
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(loading.DoModal(), 7);
    const auto elapsed =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(elapsed, 140);
    EXPECT_LT(elapsed, 2000);
    EXPECT_EQ(loading.fired, 1);
    EXPECT_EQ(loading.calls, (std::vector<std::string>{"ok", "cancel", "close", "cancel"}));
}

class AboutEntryDialog : public RecordingDialog {
public:
    AboutEntryDialog() : RecordingDialog(kMainDialogId) {}
    bool OnInitDialog() override {
        Surface().AppendSystemMenuSeparator();
        Surface().AppendSystemMenuItem(kAboutSysCommand, LoadStringResource(kAboutMenuStringId));
        Surface().SetWindowIcon(kApplicationIconId);
        return true;
    }
};

TEST_F(Win32Fixture, SystemMenuCarriesTheAboutEntryItsCommandsReachTheDialogAndTheIconIsSet) {
    AboutEntryDialog main;
    bool minimised = false;
    Later(50, [&] {
        EXPECT_NE(SendMessageW(Front(), WM_GETICON, ICON_BIG, 0), 0);
        EXPECT_NE(SendMessageW(Front(), WM_GETICON, ICON_SMALL, 0), 0);
        HMENU menu = GetSystemMenu(Front(), FALSE);
        const int count = GetMenuItemCount(menu);
        ASSERT_GE(count, 2);
        EXPECT_EQ(GetMenuItemID(menu, count - 1), kAboutSysCommand);
        wchar_t text[128] = {};
        GetMenuStringW(menu, static_cast<UINT>(count - 1), text, 128, MF_BYPOSITION);
        EXPECT_EQ(win32::Narrow(text), "About Network Storage Adapter(&A)...");
        EXPECT_EQ(GetMenuState(menu, static_cast<UINT>(count - 2), MF_BYPOSITION) & MF_SEPARATOR,
                  static_cast<UINT>(MF_SEPARATOR));
        PostMessageW(Front(), WM_SYSCOMMAND, kAboutSysCommand, 0);
        PostMessageW(Front(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        Later(100, [&] {
            minimised = IsIconic(Front()) != FALSE;
            PostMessageW(Front(), WM_SYSCOMMAND, SC_RESTORE, 0);
            PostMessageW(Front(), WM_SYSCOMMAND, SC_CLOSE, 0);
        });
    });
    EXPECT_EQ(main.DoModal(), kIdCancel);
    EXPECT_TRUE(minimised);
    // Restore keeps the default processing and is not the dialog's.
    EXPECT_EQ(main.calls, (std::vector<std::string>{"syscommand 16", "syscommand 61472", "syscommand 61536", "close"}));

    RecordingDialog bare(kDriveInUseDialogId);
    Win32OpenDialog open = backend->Open(bare);
    ASSERT_TRUE(open.IsOpen());
    EXPECT_EQ(GetWindowLongPtrW(open.Window()->Handle(), GWL_STYLE) & WS_SYSMENU, 0);
    EXPECT_FALSE(bare.Surface().HasSystemMenu());
    EXPECT_FALSE(bare.Surface().AppendSystemMenuItem(kAboutSysCommand, "x"));
}

// The colours answered to the colour messages and seen in a picture of the shown window (saved
// as PNG), which keeps its hidden buttons hidden.
TEST_F(Win32Fixture, LabelsTakeTheDialogColoursOthersKeepTheSystemOnesHiddenButtonsStayHiddenAndAPictureIsSaved) {
    Dialog main(kMainDialogId);
    Win32OpenDialog open = backend->Open(main);
    ASSERT_TRUE(open.IsOpen());
    backend->PumpMessages(50);
    const HWND dialog = open.Window()->Handle();
    HDC dc = GetDC(dialog);
    const COLORREF blue = RGB(0, 98, 147);
    const auto answer = [&](UINT message, HWND control) {
        return BrushColour(SendMessageW(dialog, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    };
    EXPECT_EQ(answer(WM_CTLCOLORDLG, dialog), blue);
    HWND netmask = nullptr;
    for (const Win32Control& control : open.Window()->Controls()) {
        const ControlKind kind = control.layout->kind;
        SCOPED_TRACE(std::string(control.layout->text) + "/" + std::to_string(control.layout->id));
        SetTextColor(dc, RGB(1, 2, 3));
        const bool label = kind == ControlKind::StaticText || kind == ControlKind::GroupBox;
        EXPECT_EQ(answer(kind == ControlKind::PushButton ? WM_CTLCOLORBTN : WM_CTLCOLORSTATIC, control.hwnd) == blue, label);
        EXPECT_EQ(GetTextColor(dc) == RGB(255, 255, 255), label);
        if (control.layout->text == "Netmask :") netmask = control.hwnd;
    }
    ReleaseDC(dialog, dc);

    win32::Picture picture;
    ASSERT_TRUE(win32::CaptureClientArea(dialog, picture));
    EXPECT_EQ(picture.At(2, picture.height / 2), 0x006293u);
    const RECT label = ClientRectOf(dialog, netmask);
    int white = 0;
    for (int y = label.top; y < label.bottom; ++y) {
        for (int x = label.left; x < label.right; ++x) white += picture.At(x, y) == 0xFFFFFFu ? 1 : 0;
    }
    EXPECT_GT(white, 10) << "the label is drawn in white";
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "ofu_main_window_test.png";
    ASSERT_TRUE(open.SaveImage(path));
    unsigned char head[24] = {};
    std::FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(std::fread(head, 1, sizeof head, file), sizeof head);
    std::fclose(file);
    std::remove(path.c_str());
    EXPECT_EQ(std::string(reinterpret_cast<char*>(head + 1), 3), "PNG");
    EXPECT_EQ(head[18] << 8 | head[19], picture.width);  // the width and height of IHDR
    EXPECT_EQ(head[22] << 8 | head[23], picture.height);

    ASSERT_TRUE(IsWindowVisible(dialog));
    for (int id : {1022, 1025, 1026}) {
        EXPECT_FALSE(IsWindowVisible(Item(id))) << id;
        EXPECT_FALSE(main.Surface().IsItemVisible(id)) << id;
    }
    main.Surface().ShowItem(1022, true);
    EXPECT_TRUE(IsWindowVisible(Item(1022)));
}

// Reads the real message box when it is activated and presses its OK button.
struct CapturedBox {
    std::wstring caption;
    std::wstring text;
    HICON icon = nullptr;
    HWND owner = nullptr;
};
CapturedBox captured;
HHOOK cbtHook = nullptr;
bool expectingBox = false;  // the next dialog window that is activated is the box

LRESULT CALLBACK CaptureMessageBox(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && expectingBox) {
        const auto box = reinterpret_cast<HWND>(wParam);
        wchar_t className[32] = {};
        GetClassNameW(box, className, 32);
        if (std::wstring(className) == L"#32770") {
            expectingBox = false;
            captured.caption = TextOf(box);
            captured.owner = GetWindow(box, GW_OWNER);
            for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
                GetClassNameW(child, className, 32);
                if (std::wstring(className) != L"Static") continue;
                if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
                    captured.icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
                } else if (!TextOf(child).empty()) {
                    captured.text = TextOf(child);
                }
            }
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
        }
    }
    return CallNextHookEx(cbtHook, code, wParam, lParam);
}

TEST_F(Win32Fixture, RealMessageBoxHasTheRequestedTextCaptionIconAndOwner) {
    backend->SetMessageHook({});
    cbtHook = SetWindowsHookExW(WH_CBT, &CaptureMessageBox, nullptr, GetCurrentThreadId());
    ASSERT_NE(cbtHook, nullptr);
    captured = {};
    expectingBox = true;
    EXPECT_EQ(ShowMessage("Please check hard drives."), kIdOk);
    EXPECT_EQ(captured.caption, L"Ostrel Ferrow Utility");
    EXPECT_EQ(captured.text, L"Please check hard drives.");
    EXPECT_EQ(captured.icon, nullptr);

    Dialog about(kAboutDialogId);
    Win32OpenDialog open = backend->Open(about);
    ASSERT_TRUE(open.IsOpen());
    captured = {};
    expectingBox = true;
    EXPECT_EQ(about.Surface().ShowMessage("Please select a device.", "Error", MessageIcon::Error), kIdOk);
    EXPECT_EQ(captured.caption, L"Error");
    EXPECT_EQ(captured.text, L"Please select a device.");
    EXPECT_NE(captured.icon, nullptr);
    EXPECT_EQ(captured.owner, open.Window()->Handle());
    UnhookWindowsHookEx(cbtHook);
}

class NotifiedDialog : public Dialog {
public:
    explicit NotifiedDialog(int templateId) : Dialog(templateId) {}
    std::vector<Notify> seen;
    void Seen(const Notify& notify) { seen.push_back(notify); }

protected:
    std::span<const MessageBinding> Messages() const override {
        static constexpr MessageBinding kMessages[] = {
            OnClicked<&NotifiedDialog::Seen>(1002),          OnListClick<&NotifiedDialog::Seen>(1000),
            OnListDoubleClick<&NotifiedDialog::Seen>(1000), OnSelectionChange<&NotifiedDialog::Seen>(1015),
            OnTextChange<&NotifiedDialog::Seen>(1016),
        };
        return kMessages;
    }
};

TEST_F(Win32Fixture, UserActionsReachTheMessageTableAndProgrammaticChangesDoNot) {
    NotifiedDialog main(kMainDialogId);
    Win32OpenDialog open = backend->Open(main);
    ASSERT_TRUE(open.IsOpen());
    DialogSurface& surface = main.Surface();
    SendMessageW(Item(1002), BM_CLICK, 0, 0);
    surface.SetCurSel(1015, 0);
    SendMessageW(Item(1015), WM_KEYDOWN, VK_DOWN, 0);  // a closed drop-down list moves on
    EXPECT_EQ(surface.GetCurSel(1015), 1);
    NMITEMACTIVATE click{};
    click.hdr = {Item(1000), 1000, static_cast<UINT>(NM_CLICK)};
    click.iItem = -1;
    SendMessageW(open.Window()->Handle(), WM_NOTIFY, 1000, reinterpret_cast<LPARAM>(&click));
    click.hdr.code = static_cast<UINT>(NM_DBLCLK);
    click.iItem = 3;
    SendMessageW(open.Window()->Handle(), WM_NOTIFY, 1000, reinterpret_cast<LPARAM>(&click));
    ASSERT_EQ(main.seen.size(), 4u);
    const Notification codes[] = {Notification::Clicked, Notification::SelectionChange, Notification::ListClick,
                                  Notification::ListDoubleClick};
    const int rows[] = {-1, -1, -1, 3};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(main.seen[i].code, codes[i]) << i;
        EXPECT_EQ(main.seen[i].row, rows[i]) << i;
    }

    NotifiedDialog login(kLoginDialogId);
    Win32OpenDialog second = backend->Open(login);
    ASSERT_TRUE(second.IsOpen());
    login.Surface().SetItemText(1016, "admin");
    EXPECT_TRUE(login.seen.empty());
    SendMessageW(second.Window()->Control(1016)->hwnd, WM_CHAR, 'x', 1);
    ASSERT_EQ(login.seen.size(), 1u);
    EXPECT_EQ(login.seen[0].code, Notification::TextChange);
    EXPECT_EQ(login.Surface().GetItemText(1016), "xadmin");
}

}  // namespace
}  // namespace ofu::ui
