// The surface of a dialog that is not open: every call is ignored.
#pragma once

#include "ui/dialog_surface.h"

namespace ofu::ui {

class NullSurface final : public DialogSurface {
public:
    static NullSurface& Instance();

    void SetItemText(int, std::string_view) override {}
    std::string GetItemText(int) const override { return {}; }
    void EnableItem(int, bool) override {}
    bool IsItemEnabled(int) const override { return false; }
    void ShowItem(int, bool) override {}
    bool IsItemVisible(int) const override { return false; }
    void SetFocusTo(int) override {}
    int FocusedItem() const override { return 0; }
    void SetTextLimit(int, int) override {}
    void SetItemFont(int, const FontSpec&) override {}
    void InsertColumn(int, int, std::string_view, int) override {}
    int InsertRow(int, int, std::string_view) override { return -1; }
    void SetCellText(int, int, int, std::string_view) override {}
    std::string GetCellText(int, int, int) const override { return {}; }
    void DeleteAllRows(int) override {}
    int RowCount(int) const override { return 0; }
    int FirstVisibleRow(int) const override { return 0; }
    bool IsRowSelected(int, int) const override { return false; }
    void SelectRow(int, int) override {}
    int AddString(int, std::string_view) override { return -1; }
    void ResetContent(int) override {}
    int GetCurSel(int) const override { return -1; }
    int SetCurSel(int, int) override { return -1; }
    std::string GetComboItemText(int, int) const override { return {}; }
    int ComboCount(int) const override { return 0; }
    void SetAddress(int, const AddressBytes&) override {}
    AddressFields GetAddress(int) const override { return {}; }
    bool IsAddressBlank(int) const override { return true; }
    void ClearAddress(int) override {}
    void FocusAddressField(int, int) override {}
    void SetProgressRange(int, int, int) override {}
    int SetProgressStep(int, int) override { return 0; }
    int StepProgress(int) override { return 0; }
    int SetProgressPos(int, int) override { return 0; }
    int GetProgressPos(int) const override { return 0; }
    void SetChecked(int, bool) override {}
    bool IsChecked(int) const override { return false; }
    int ShowMessage(std::string_view text, std::string_view caption, MessageIcon icon) override;
    void EndDialog(int) override {}
    void SetTimer(int, int) override {}
    void KillTimer(int) override {}
    bool HasSystemMenu() const override { return false; }
    bool AppendSystemMenuSeparator() override { return false; }
    bool AppendSystemMenuItem(unsigned, std::string_view) override { return false; }
    void SetWindowIcon(int) override {}
    void MinimizeWindow() override {}
    bool StartWorker(WorkerBody) override { return false; }
};

}  // namespace ofu::ui
