// A test's hold on one dialog of the test backend: act as the user would (each action goes
// through the dialog's message table and the dialog manager's rules) and look at the controls.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "ui/testing/test_session.h"

namespace ofu::ui {

class Dialog;
class TestBackend;

class TestDialog {
public:
    TestDialog(TestBackend& backend, TestSession& session, bool owning);
    ~TestDialog();  // an owning hold closes a dialog that is still open
    TestDialog(TestDialog&& other) noexcept;
    TestDialog(const TestDialog&) = delete;
    TestDialog& operator=(const TestDialog&) = delete;
    TestDialog& operator=(TestDialog&&) = delete;

    // --- as the user -----------------------------------------------------------------------
    // Clicks a button; automatic radio buttons and check boxes change their state first. A
    // hidden or disabled button cannot be clicked: nothing happens and the log says so.
    void Click(int id);
    // Clicks a list row (-1: the empty space below the rows), which selects it (or clears the
    // selection) and gives the list the focus, then notifies the dialog.
    void ClickRow(int listId, int row);
    void DoubleClickRow(int listId, int row);
    // Chooses an item of a drop-down list and notifies the dialog.
    void ChooseItem(int comboId, int index);
    // Types into an edit control (the text limit applies) and notifies the dialog.
    void Type(int editId, std::string_view text);
    // Types the four fields of an IPv4 control; an empty text leaves a field blank and a
    // number above 255 becomes 255, as the control does.
    void TypeAddress(int id, const std::array<std::string, 4>& fields);
    void Focus(int id);
    void ScrollList(int listId, int firstVisibleRow);
    void PressEnter();
    void PressEscape();
    void PressCloseBox();
    // Chooses a system-menu entry: one that the dialog appended, or close / minimise.
    void ChooseSystemMenu(unsigned command);

    // --- looking ---------------------------------------------------------------------------
    bool IsOpen() const;  // not yet ended
    int Result() const;
    int TemplateId() const;
    Dialog& Owner() const;
    TestSurface& Surface() const;
    const TestControlModel& Control(int id) const;  // fails the test run if there is none
    const std::vector<SystemMenuEntry>& SystemMenu() const;
    int WindowIcon() const;
    bool HasTimer(int timerId) const;
    int LiveWorkers() const;

private:
    void After();
    void Ignored(const std::string& what);

    TestBackend* backend_;
    TestSession* session_;
    bool owning_;
};

}  // namespace ofu::ui
