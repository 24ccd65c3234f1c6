#pragma once
// The operator dialog's window. On a device without a window system the
// dialog cannot be shown: the journal says that it was to be shown, and the
// dialog ends as cancelled, so nothing is applied. The window system's
// dialog (templates 8321 and 9062) takes this function's place.
//
//   operator dialog to be shown (starting at the placeholder operator): no window system, ends as cancelled

namespace applet {

class COperatorDialog;

// Runs the dialog modally and returns the command that ended it
// (platform::mb::kIdOk or kIdCancel).
int ShowOperatorDialog(COperatorDialog& dialog);

}  // namespace applet
