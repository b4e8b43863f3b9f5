// The rules of the dialog manager that both backends apply, so that keys and the close box act
// the same on screen and in tests.
#pragma once

namespace ofu::ui {

class Dialog;

// Runs OnInitDialog; when it returns true and the dialog is still open, the first visible,
// enabled tab stop gets the focus.
void InitDialog(Dialog& dialog);

// The id of the first visible, enabled tab stop in template order, or 0.
int FirstTabStop(const Dialog& dialog);

// Enter: the push button with the focus, otherwise the default push button, otherwise kIdOk.
// A disabled target does nothing. Returns the command sent, or 0.
int PressEnter(Dialog& dialog);

// Escape: the Cancel command, whether or not the dialog has a Cancel button.
void PressEscape(Dialog& dialog);

// The close box (or Alt+F4): OnClose, which by default sends the Cancel command.
void RequestClose(Dialog& dialog);

// Radio data exchange: the index within the group that starts at `firstId` of its checked
// button, or -1 when none is checked. The group runs in template order up to the next control
// that starts a group or is no radio button.
int CheckedRadioIndex(const Dialog& dialog, int firstId);

// Checks button `index` of that group (and unchecks the others); -1 unchecks them all.
void CheckRadioIndex(Dialog& dialog, int firstId, int index);

}  // namespace ofu::ui
