// The Win32 backend's surface: every operation acts on the window of the control with that id.
#pragma once

#include "resources/dialog_template.h"
#include "ui/dialog_surface.h"
#include "ui/win32/win32_api.h"

namespace ofu::ui {

class Win32DialogWindow;
struct Win32Control;

class Win32Surface final : public DialogSurface {
public:
    explicit Win32Surface(Win32DialogWindow& window) : window_(window) {}

    void SetItemText(int id, std::string_view text) override;
    std::string GetItemText(int id) const override;
    void EnableItem(int id, bool enable) override;
    bool IsItemEnabled(int id) const override;
    void ShowItem(int id, bool show) override;
    bool IsItemVisible(int id) const override;
    void SetFocusTo(int id) override;
    int FocusedItem() const override;
    void SetTextLimit(int id, int maxCharacters) override;
    void SetItemFont(int id, const FontSpec& font) override;

    void InsertColumn(int id, int column, std::string_view title, int widthPixels) override;
    int InsertRow(int id, int row, std::string_view text) override;
    void SetCellText(int id, int row, int column, std::string_view text) override;
    std::string GetCellText(int id, int row, int column) const override;
    void DeleteAllRows(int id) override;
    int RowCount(int id) const override;
    int FirstVisibleRow(int id) const override;
    bool IsRowSelected(int id, int row) const override;
    void SelectRow(int id, int row) override;

    int AddString(int id, std::string_view text) override;
    void ResetContent(int id) override;
    int GetCurSel(int id) const override;
    int SetCurSel(int id, int index) override;
    std::string GetComboItemText(int id, int index) const override;
    int ComboCount(int id) const override;

    void SetAddress(int id, const AddressBytes& bytes) override;
    AddressFields GetAddress(int id) const override;
    bool IsAddressBlank(int id) const override;
    void ClearAddress(int id) override;
    void FocusAddressField(int id, int field) override;

    void SetProgressRange(int id, int low, int high) override;
    int SetProgressStep(int id, int step) override;
    int StepProgress(int id) override;
    int SetProgressPos(int id, int position) override;
    int GetProgressPos(int id) const override;

    void SetChecked(int id, bool checked) override;
    bool IsChecked(int id) const override;

    int ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon) override;
    void EndDialog(int result) override;
    void SetTimer(int timerId, int periodMs) override;
    void KillTimer(int timerId) override;
    bool HasSystemMenu() const override;
    bool AppendSystemMenuSeparator() override;
    bool AppendSystemMenuItem(unsigned commandId, std::string_view text) override;
    void SetWindowIcon(int iconId) override;
    void MinimizeWindow() override;
    bool StartWorker(WorkerBody body) override;

    // Adds an item to a drop-down list, in sorted place when the list sorts (the window adds
    // the template's items this way too).
    static int AddComboItem(const Win32Control& control, std::string_view text);

private:
    Win32Control* Find(int id) const;
    // The window of the control with this id when it is of this kind, or nullptr.
    HWND Window(int id, ControlKind kind) const;

    Win32DialogWindow& window_;
};

}  // namespace ofu::ui
