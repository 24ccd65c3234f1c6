#pragma once
// Small routines the applet's dialogs share: the page header in the
// handheld's house style, requests to the shell for the soft input panel,
// the empty-field test and the wide Cancel button of a page outside a
// wizard.

#include "platform/windows/window_types.h"

namespace applet {

class COrientationDialog;

// Called from a dialog's paint handler: paints the dialog, hiding the
// static control `id` and drawing its text instead as the page header, in
// bold dark blue over a black line across the dialog. A dialog without
// that control paints as usual. Returns true.
bool DrawDialogHeader(COrientationDialog& dialog, int id);

// In portrait, asks the shell to raise the panel for the window (up), or to
// lower it (forced down with force); returns the shell's answer. In
// landscape nothing is asked and the result is false.
bool RequestInputPanel(platform::Hwnd window, bool up, bool force);

// The control's text is empty.
bool IsTextEmpty(platform::Hwnd control);

// Hides the control `id` and the OK button and stretches the Cancel button
// over the space from the control's top-left corner to the OK button's
// bottom-right corner. Nothing happens unless all three exist.
void WidenCancelButton(COrientationDialog& dialog, int id);

}  // namespace applet
