// The toolkit-free face of one open dialog. Handlers address its controls by id; a backend
// (the Qt backend or the test backend) implements it over its own windows or models.
// Every operation runs on the user-interface thread; a worker reaches it through
// WorkerContext::CallOnUi. An id that names no control of the dialog is ignored: setters do
// nothing and getters give the empty text, 0, false or -1.
#pragma once

#include <string>
#include <string_view>

#include "ui/address_fields.h"
#include "ui/font_spec.h"
#include "ui/message_box.h"
#include "ui/worker_context.h"

namespace ofu::ui {

class DialogSurface {
public:
    virtual ~DialogSurface() = default;

    // --- any control -------------------------------------------------------------------
    virtual void SetItemText(int id, std::string_view text) = 0;
    virtual std::string GetItemText(int id) const = 0;
    virtual void EnableItem(int id, bool enable) = 0;
    virtual bool IsItemEnabled(int id) const = 0;
    virtual void ShowItem(int id, bool show) = 0;
    // Whether the control has the visible style (true for a shown control of a dialog that is
    // not on screen yet).
    virtual bool IsItemVisible(int id) const = 0;
    virtual void SetFocusTo(int id) = 0;
    virtual int FocusedItem() const = 0;  // id of the control with the focus, or 0
    // Most characters an edit control accepts from now on.
    virtual void SetTextLimit(int id, int maxCharacters) = 0;
    virtual void SetItemFont(int id, const FontSpec& font) = 0;

    // --- report list views (rows and columns count from 0) -------------------------------
    virtual void InsertColumn(int id, int column, std::string_view title, int widthPixels) = 0;
    // Inserts a row with `text` in column 0 at `row` (or at the end when `row` is past it) and
    // returns the row's index, or -1.
    virtual int InsertRow(int id, int row, std::string_view text) = 0;
    virtual void SetCellText(int id, int row, int column, std::string_view text) = 0;
    virtual std::string GetCellText(int id, int row, int column) const = 0;
    virtual void DeleteAllRows(int id) = 0;
    virtual int RowCount(int id) const = 0;
    virtual int FirstVisibleRow(int id) const = 0;
    virtual bool IsRowSelected(int id, int row) const = 0;
    // Selects `row` alone; -1 clears the selection.
    virtual void SelectRow(int id, int row) = 0;

    // --- drop-down lists -----------------------------------------------------------------
    // Adds an item (in sorted order when the list sorts) and returns its index, or -1.
    virtual int AddString(int id, std::string_view text) = 0;
    virtual void ResetContent(int id) = 0;
    virtual int GetCurSel(int id) const = 0;  // -1 for none
    // Selects `index`; -1 (or an index past the end) leaves no selection. Returns the new
    // selection.
    virtual int SetCurSel(int id, int index) = 0;
    virtual std::string GetComboItemText(int id, int index) const = 0;
    virtual int ComboCount(int id) const = 0;

    // --- IPv4 address controls -----------------------------------------------------------
    virtual void SetAddress(int id, const AddressBytes& bytes) = 0;
    virtual AddressFields GetAddress(int id) const = 0;
    virtual bool IsAddressBlank(int id) const = 0;
    virtual void ClearAddress(int id) = 0;
    virtual void FocusAddressField(int id, int field) = 0;

    // --- progress bars (return the previous value, as the control does) --------------------
    virtual void SetProgressRange(int id, int low, int high) = 0;
    virtual int SetProgressStep(int id, int step) = 0;
    // Advances by the step; past the end of the range the position starts over.
    virtual int StepProgress(int id) = 0;
    virtual int SetProgressPos(int id, int position) = 0;
    virtual int GetProgressPos(int id) const = 0;

    // --- check boxes and radio buttons ---------------------------------------------------
    virtual void SetChecked(int id, bool checked) = 0;
    virtual bool IsChecked(int id) const = 0;

    // --- the dialog ----------------------------------------------------------------------
    // Shows a modal message box owned by this dialog; returns the pressed button id.
    virtual int ShowMessage(std::string_view text, std::string_view caption = kApplicationTitle,
                            MessageIcon icon = MessageIcon::None) = 0;
    // Ends the dialog's modal run with `result` once the current handler returns. The dialog
    // and its controls stay usable until then.
    virtual void EndDialog(int result) = 0;
    // Arms (or re-arms) window timer `timerId`; the dialog's OnTimer(timerId) runs every
    // `periodMs` until KillTimer.
    virtual void SetTimer(int timerId, int periodMs) = 0;
    virtual void KillTimer(int timerId) = 0;
    // System menu: false when the dialog has none.
    virtual bool HasSystemMenu() const = 0;
    virtual bool AppendSystemMenuSeparator() = 0;
    virtual bool AppendSystemMenuItem(unsigned commandId, std::string_view text) = 0;
    virtual void SetWindowIcon(int iconId) = 0;
    virtual void MinimizeWindow() = 0;
    // Starts a worker thread; false when no thread could be started (the body then never
    // runs). Workers are told to stop and are waited for when the dialog's modal run ends,
    // before DoModal returns.
    virtual bool StartWorker(WorkerBody body) = 0;
};

}  // namespace ofu::ui
