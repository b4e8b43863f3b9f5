// A Win32 backend installed for one test, with message boxes answered OK by the hook, and
// helpers that act on the dialogs as a user would: keys posted to the focused control, actions
// run from inside the next modal loop.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "resources/dialog_templates.h"
#include "ui/command_ids.h"
#include "ui/dialog.h"
#include "ui/win32/win32_api.h"
#include "ui/win32/win32_backend.h"
#include "ui/win32/win32_dialog_window.h"

namespace ofu::ui {

class Win32Fixture : public ::testing::Test {
public:
    Win32Fixture() {
        auto owned = std::make_unique<Win32Backend>();
        backend = owned.get();
        InitBackend(std::move(owned));
        backend->SetMessageHook([](const MessageRequest&) { return kIdOk; });
    }
    ~Win32Fixture() override { FreeBackend(); }

    // Runs `action` after `ms` from whichever message loop this thread turns then (a modal
    // dialog's, a message box's or PumpMessages).
    static void Later(int ms, std::function<void()> action) {
        const UINT_PTR timer = ::SetTimer(nullptr, 0, static_cast<UINT>(ms), &FireLater);
        Pending()[timer] = std::move(action);
    }

    // The window of the innermost dialog and of one of its controls.
    HWND Front() const { return backend->FrontWindow() == nullptr ? nullptr : backend->FrontWindow()->Handle(); }
    HWND Item(int id) const {
        Win32Control* control = backend->FrontWindow() == nullptr ? nullptr : backend->FrontWindow()->Control(id);
        return control == nullptr ? nullptr : control->hwnd;
    }

    // A key press as the keyboard delivers it: to the window with the focus (or, when nothing
    // has it, to the dialog in front), through the loop.
    static void PressKey(WPARAM key) {
        HWND target = GetFocus();
        if (target == nullptr) target = GetActiveWindow();
        auto* backend = static_cast<Win32Backend*>(ActiveBackend());
        if (target == nullptr && backend->FrontWindow() != nullptr) target = backend->FrontWindow()->Handle();
        PostMessageW(target, WM_KEYDOWN, key, 1);
        PostMessageW(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
    }

protected:
    Win32Backend* backend = nullptr;

private:
    static std::map<UINT_PTR, std::function<void()>>& Pending() {
        static std::map<UINT_PTR, std::function<void()>> pending;
        return pending;
    }
    static void CALLBACK FireLater(HWND, UINT, UINT_PTR timer, DWORD) {
        ::KillTimer(nullptr, timer);
        const auto it = Pending().find(timer);
        if (it == Pending().end()) return;
        const std::function<void()> action = std::move(it->second);
        Pending().erase(it);
        action();
    }
};

// A control's rectangle in its dialog's client coordinates.
inline RECT ClientRectOf(HWND dialog, HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

inline COLORREF BrushColour(INT_PTR brush) {
    LOGBRUSH description{};
    GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof(description), &description);
    return description.lbColor;
}

inline std::wstring TextOf(HWND hwnd) {
    wchar_t buffer[512] = {};
    GetWindowTextW(hwnd, buffer, 512);
    return buffer;
}

}  // namespace ofu::ui
