// The process-wide user-interface backend, chosen once at program start:
//
//   ofu::ui::InitBackend(std::make_unique<ofu::ui::QtBackend>(argc, argv));
//   ... run the main dialog ...
//   ofu::ui::FreeBackend();
#pragma once

#include <memory>

#include "ui/message_box.h"

namespace ofu::ui {

class Dialog;

class Backend {
public:
    virtual ~Backend() = default;

    // Builds the dialog from its template, attaches its surface, runs OnInitDialog and the
    // modal run, stops its workers and timers, detaches the surface and returns the result.
    virtual int RunModal(Dialog& dialog) = 0;

    // A message box owned by the dialog in front, or by none.
    virtual int ShowMessage(const MessageRequest& request) = 0;
};

// Makes `backend` the active one. Refused (false) while another backend is active.
bool InitBackend(std::unique_ptr<Backend> backend);
// Destroys the active backend; afterwards DoModal returns -1 and ShowMessage shows nothing.
void FreeBackend();
Backend* ActiveBackend();

}  // namespace ofu::ui
