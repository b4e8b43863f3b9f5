// The base of every dialog class. A dialog is built from its template, runs modally through the
// active backend and reaches its controls through its surface while it is open.
#pragma once

#include <span>

#include "resources/dialog_template.h"
#include "ui/command_ids.h"
#include "ui/dialog_surface.h"
#include "ui/message_map.h"

namespace ofu::ui {

class Dialog {
public:
    explicit Dialog(int templateId);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    int TemplateId() const { return templateId_; }
    const DialogTemplate& Template() const;

    // Runs the dialog modally through the active backend and returns the result given to
    // EndDialog, or -1 when there is no backend or the dialog could not be built.
    int DoModal();

    // Ends the modal run with `result` once the current handler returns.
    void EndDialog(int result);

    bool IsOpen() const { return surface_ != nullptr; }

    // The open dialog's controls. Before the dialog opens and after it has closed this is a
    // surface that ignores every call.
    DialogSurface& Surface() const;

    // Sends a control notification through the message table; a Clicked notification of
    // kIdOk / kIdCancel that the table does not bind goes to OnOK / OnCancel.
    void Dispatch(const Notify& notify);
    void DispatchCommand(int controlId) { Dispatch({controlId, Notification::Clicked, -1}); }

    // Called by the backends.
    virtual bool OnInitDialog();  // true: the first tab stop gets the focus
    virtual void OnOK();          // ends the dialog with kIdOk
    virtual void OnCancel();      // ends the dialog with kIdCancel
    virtual void OnClose();       // the close request; sends the Cancel command
    virtual void OnTimer(int timerId);
    // Default processing: close and minimise act as usual, other commands do nothing.
    virtual void OnSysCommand(unsigned command);

    // For backends: attach the surface while the dialog is open, detach it when it closes.
    void AttachSurface(DialogSurface* surface) { surface_ = surface; }

protected:
    // The dialog class's message table; the base has none.
    virtual std::span<const MessageBinding> Messages() const;

private:
    int templateId_;
    DialogSurface* surface_ = nullptr;
};

}  // namespace ofu::ui
