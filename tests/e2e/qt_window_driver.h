// Driving the real Qt windows as a user would, for the lab tests and benchmarks: clicking
// buttons and list rows with the mouse, typing, and answering the dialogs that handlers run
// modally (from a timer, since the handler's modal loop runs while the test waits).
#pragma once

#include "ui/qt/qt_backend.h"
#include "ui/qt/qt_dialog_window.h"

#include <QTimer>

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace ofu::e2e {

QWidget* WidgetOf(ui::QtDialogWindow& window, int id);
// False when the window has no such control.
bool ClickButton(ui::QtDialogWindow& window, int id);
// Clicks the row whose column 0 reads `text`, or the empty space below the rows for "". False
// when no row reads `text`.
bool ClickRow(ui::QtDialogWindow& window, int listId, const std::string& text);
// Double-clicks that row with the events a mouse sends: press, release, double-click, release.
bool DoubleClickRow(ui::QtDialogWindow& window, int listId, const std::string& text);
void TypeInto(ui::QtDialogWindow& window, int editId, const std::string& text);

// Answers modal dialogs in the order they are expected: each answer runs once the dialog
// built from its template is in front.
class DialogAnswers {
public:
    using Answer = std::function<void(ui::QtDialogWindow&)>;
    explicit DialogAnswers(ui::QtBackend& backend);

    void Expect(int templateId, Answer answer) { answers_.emplace_back(templateId, std::move(answer)); }
    std::size_t Pending() const { return answers_.size(); }

private:
    ui::QtBackend& backend_;
    std::deque<std::pair<int, Answer>> answers_;
    QTimer timer_;
};

// What a lab test of the real window runs on, for its lifetime: the system's platform
// services, the Qt backend with every message box answered OK and recorded, and the transport.
class QtLabSession {
public:
    QtLabSession();
    ~QtLabSession();
    QtLabSession(const QtLabSession&) = delete;
    QtLabSession& operator=(const QtLabSession&) = delete;

    ui::QtBackend& Qt() { return *qt_; }

    std::vector<std::string> messages;  // the texts, in order
    std::vector<std::string> captions;

private:
    ui::QtBackend* qt_ = nullptr;
};

}  // namespace ofu::e2e
