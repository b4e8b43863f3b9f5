// A Qt backend installed for one test, with message boxes answered by a hook that records them.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <functional>
#include <vector>

#include "resources/dialog_templates.h"
#include "ui/command_ids.h"
#include "ui/dialog.h"
#include "ui/qt/qt_backend.h"
#include "ui/qt/qt_dialog_window.h"

namespace ofu::ui {

class QtFixture : public ::testing::Test {
protected:
    QtFixture() {
        auto backend = std::make_unique<QtBackend>();
        qt = backend.get();
        InitBackend(std::move(backend));
        qt->SetMessageHook([this](const MessageRequest& request) {
            messages.push_back(request);
            return kIdOk;
        });
    }
    ~QtFixture() override { FreeBackend(); }

    // Runs `action` once the event loop of the next modal run (or the current one) is going.
    static void Later(int ms, std::function<void()> action) {
        QTimer::singleShot(ms, qApp, std::move(action));
    }

    QtBackend* qt = nullptr;
    std::vector<MessageRequest> messages;
};

}  // namespace ofu::ui
