// One dialog opened by the test backend: the dialog object, its control models and its state.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/testing/test_surface.h"

namespace ofu::ui {

class Dialog;

struct SystemMenuEntry {
    unsigned command = 0;  // 0 for a separator
    std::string text;
};

struct TestSession {
    Dialog* dialog = nullptr;
    std::unique_ptr<TestSurface> surface;
    bool ended = false;      // EndDialog was called
    int result = 0;
    bool closed = false;     // torn down: workers stopped, timers removed, surface detached
    bool scripted = false;   // run by DoModal from a script, not opened by the test directly
    std::vector<SystemMenuEntry> systemMenu;
    int windowIcon = 0;
    bool minimized = false;
};

}  // namespace ofu::ui
