// The executable's own resources, written by ofu-resource-script from the templates: every
// dialog as the dialog manager builds it, the version, the string table, the icon and the
// manifest.
#include <cwctype>

#include "resources/icon_images.h"
#include "resources/rc/resource_script.h"
#include "resources/string_table.h"
#include "ui/win32/win32_text.h"
#include "win32_fixture.h"

namespace ofu::ui {
namespace {

// What each kind of control is as a window: its class and its type within the class's styles.
struct KindFacts {
    ControlKind kind;
    const wchar_t* windowClass;
    DWORD typeMask;
    DWORD type;
};
constexpr KindFacts kKinds[] = {
    {ControlKind::StaticText, L"Static", 0, 0},
    {ControlKind::Icon, L"Static", SS_TYPEMASK, SS_ICON},
    {ControlKind::GroupBox, L"Button", BS_TYPEMASK, BS_GROUPBOX},
    {ControlKind::PushButton, L"Button", BS_TYPEMASK, BS_PUSHBUTTON},
    {ControlKind::DefaultPushButton, L"Button", BS_TYPEMASK, BS_DEFPUSHBUTTON},
    {ControlKind::RadioButton, L"Button", BS_TYPEMASK, BS_AUTORADIOBUTTON},
    {ControlKind::CheckBox, L"Button", BS_TYPEMASK, BS_AUTOCHECKBOX},
    {ControlKind::Edit, L"Edit", 0, 0},
    {ControlKind::ListView, L"SysListView32", LVS_TYPEMASK, LVS_REPORT},
    {ControlKind::ComboBox, L"ComboBox", 3, CBS_DROPDOWNLIST},
    {ControlKind::IpAddress, L"SysIPAddress32", 0, 0},
    {ControlKind::ProgressBar, L"msctls_progress32", 0, 0},
};

// The template flags that stand for a style bit of one kind of control.
constexpr struct {
    ControlKind kind;
    std::uint32_t flag;
    DWORD bit;
} kFlagBits[] = {
    {ControlKind::StaticText, kNoPrefix, SS_NOPREFIX},       {ControlKind::Edit, kPassword, ES_PASSWORD},
    {ControlKind::Edit, kAutoHScroll, ES_AUTOHSCROLL},       {ControlKind::ListView, kSingleSelection, LVS_SINGLESEL},
    {ControlKind::ListView, kShowSelectionAlways, LVS_SHOWSELALWAYS}, {ControlKind::ComboBox, kSorted, CBS_SORT},
    {ControlKind::ProgressBar, kSmooth, PBS_SMOOTH},
};

void ExpectClassAndStyles(const ControlTemplate& control, HWND hwnd) {
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE));
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    for (const KindFacts& facts : kKinds) {
        if (facts.kind != control.kind) continue;
        EXPECT_STREQ(name, facts.windowClass);
        EXPECT_EQ(style & facts.typeMask, facts.type);
    }
    for (const auto& entry : kFlagBits) {
        if (entry.kind == control.kind) {
            EXPECT_EQ((style & entry.bit) != 0, control.Has(entry.flag)) << entry.bit;
        }
    }
    EXPECT_EQ((style & WS_VISIBLE) != 0, !control.Has(kHidden));
    EXPECT_EQ((style & WS_TABSTOP) != 0, control.Has(kTabStop));
    EXPECT_EQ((style & WS_GROUP) != 0, control.Has(kGroupStart));
    // The dialog manager may turn a border into an edge; a progress bar draws its own frame.
    if (control.Has(kBorder) && control.kind != ControlKind::ProgressBar) {
        EXPECT_TRUE((style & WS_BORDER) != 0 || (exStyle & WS_EX_CLIENTEDGE) != 0);
    }
}

// The pixels of a template rectangle: x and width are mapped separately (right = left + cx),
// as the dialog manager places controls.
RECT Expected(HWND dialog, const DialogRect& r) {
    RECT mapped{r.x, r.y, r.width, r.height};
    MapDialogRect(dialog, &mapped);
    return {mapped.left, mapped.top, mapped.left + mapped.right, mapped.top + mapped.bottom};
}

TEST_F(Win32Fixture, EveryTemplateIsBuiltFromTheProgramsOwnResource) {
    for (const DialogTemplate* layout : AllTemplates()) {
        SCOPED_TRACE(layout->id);
        Dialog dialog(layout->id);
        Win32OpenDialog open = backend->Open(dialog);
        ASSERT_TRUE(open.IsOpen());
        const HWND hwnd = open.Window()->Handle();
        EXPECT_EQ(TextOf(hwnd), win32::Widen(layout->caption));
        RECT client{};
        GetClientRect(hwnd, &client);
        const RECT size = Expected(hwnd, {0, 0, layout->width, layout->height});
        EXPECT_EQ(client.right, size.right);
        EXPECT_EQ(client.bottom, size.bottom);
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
        EXPECT_EQ((style & WS_SYSMENU) != 0, layout->Has(kSystemMenu));
        EXPECT_EQ((style & WS_MINIMIZEBOX) != 0, layout->Has(kMinimizeBox));
        EXPECT_EQ((GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0, layout->Has(kAppWindow));

        ASSERT_EQ(open.Window()->Controls().size(), layout->controls.size());
        int children = 0;
        for (HWND child = GetWindow(hwnd, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) ++children;
        EXPECT_EQ(children, static_cast<int>(layout->controls.size()));
        for (const Win32Control& built : open.Window()->Controls()) {
            const ControlTemplate& control = *built.layout;
            SCOPED_TRACE(control.text.empty() ? std::to_string(control.id) : std::string(control.text));
            ASSERT_NE(built.hwnd, nullptr);
            EXPECT_EQ(GetDlgCtrlID(built.hwnd), control.id);
            ExpectClassAndStyles(control, built.hwnd);
            const RECT expected = Expected(hwnd, control.rect);
            const RECT actual = ClientRectOf(hwnd, built.hwnd);
            switch (control.kind) {
                case ControlKind::ComboBox:  // closed: the template's height is the open list's
                    EXPECT_EQ(actual.left, expected.left);
                    EXPECT_EQ(actual.top, expected.top);
                    EXPECT_EQ(actual.right, expected.right);
                    EXPECT_LT(actual.bottom, expected.bottom);
                    break;
                case ControlKind::Icon:  // an icon control takes the icon's size
                    EXPECT_EQ(actual.left, expected.left);
                    EXPECT_EQ(actual.top, expected.top);
                    EXPECT_EQ(actual.right - actual.left, GetSystemMetrics(SM_CXICON));
                    EXPECT_EQ(actual.bottom - actual.top, GetSystemMetrics(SM_CYICON));
                    break;
                case ControlKind::StaticText:  // a one-line label may run on, within the dialog
                    EXPECT_EQ(actual.left, expected.left);
                    EXPECT_EQ(actual.top, expected.top);
                    EXPECT_EQ(actual.bottom, expected.bottom);
                    EXPECT_GE(actual.right, expected.right);
                    EXPECT_LE(actual.right, client.right);
                    break;
                default:
                    EXPECT_TRUE(EqualRect(&actual, &expected))
                        << actual.left << "," << actual.top << "," << actual.right << "," << actual.bottom;
                    break;
            }
            if (!control.text.empty()) {
                EXPECT_EQ(TextOf(built.hwnd), win32::Widen(control.text));
            }
        }
        if (layout->id == kMainDialogId) {
            EXPECT_EQ(dialog.Surface().ComboCount(1015), 2);
            EXPECT_EQ(dialog.Surface().GetComboItemText(1015, 1), "Enable");
            EXPECT_EQ(dialog.Surface().GetCurSel(1015), -1);
        }
    }
}

TEST(Win32ResourcesTest, VersionStringIconAndManifest) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    ASSERT_GT(size, 0u);
    std::vector<unsigned char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(6, 4));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(6, 4));
    for (const auto& [name, value] : {std::pair{L"ProductName", L"Ostrel Ferrow Utility"},
                                      std::pair{L"FileVersion", L"4.6.0.0"},
                                      std::pair{L"ProductVersion", L"4.6.0.0"}}) {
        wchar_t* text = nullptr;
        const std::wstring key = std::wstring(L"\\StringFileInfo\\040904b0\\") + name;
        ASSERT_TRUE(VerQueryValueW(block.data(), key.c_str(), reinterpret_cast<void**>(&text), &length)) << name;
        EXPECT_STREQ(text, value);
    }

    const HINSTANCE program = GetModuleHandleW(nullptr);
    wchar_t about[128] = {};
    LoadStringW(program, kAboutMenuStringId, about, 128);
    EXPECT_EQ(win32::Narrow(about), LoadStringResource(kAboutMenuStringId));

    // Every render decodes (the entries are PNG-compressed) and draws something.
    for (const IconImage& image : FindIconImages(kApplicationIconId)) {
        SCOPED_TRACE(image.size);
        auto* icon = static_cast<HICON>(
            LoadImageW(program, MAKEINTRESOURCEW(kApplicationIconId), IMAGE_ICON, image.size, image.size, 0));
        ASSERT_NE(icon, nullptr);
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP canvas = CreateBitmap(image.size, image.size, 1, 32, nullptr);
        HGDIOBJ previous = SelectObject(dc, canvas);
        RECT all{0, 0, image.size, image.size};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DrawIconEx(dc, 0, 0, icon, image.size, image.size, 0, nullptr, DI_NORMAL);
        EXPECT_NE(GetPixel(dc, image.size / 2, image.size / 2) & 0xFFFFFF, 0xFFFFFFu);
        SelectObject(dc, previous);
        DeleteObject(canvas);
        DeleteDC(dc);
        DestroyIcon(icon);
    }

    // The manifest selects the side-by-side common controls 6.0 rather than system32's.
    InitCommonControls();
    wchar_t controls[MAX_PATH] = {};
    GetModuleFileNameW(GetModuleHandleW(L"comctl32.dll"), controls, MAX_PATH);
    std::wstring lower(controls);
    for (wchar_t& c : lower) c = static_cast<wchar_t>(std::towlower(c));
    EXPECT_NE(lower.find(L"winsxs"), std::wstring::npos) << win32::Narrow(controls);
}

TEST(ResourceScriptWriterTest, EscapesTextsAndWritesVersionNumbers) {
    EXPECT_EQ(rc::Quoted("say \"Next\" in C:\\bt\n\x01"), "\"say \"\"Next\"\" in C:\\\\bt\\n\\001\"");
    EXPECT_EQ(rc::Quoted("About(&A)..."), "\"About(&A)...\"");
    EXPECT_EQ(rc::VersionNumbers("4.6.0.0"), "4,6,0,0");
    EXPECT_EQ(rc::VersionNumbers("4.6"), "4,6,0,0");

}

}  // namespace
}  // namespace ofu::ui
