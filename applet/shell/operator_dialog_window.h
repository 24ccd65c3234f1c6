#pragma once
// The operator dialog's window: the one place the applet opens it. The
// dialog's window (templates 8321 and 9062) is not built yet, so the journal
// says that it was to be shown, and the dialog ends as cancelled: nothing is
// applied. The window takes this function's place.
//
//   operator dialog to be shown (starting at the placeholder operator): no window for it yet, ends as cancelled

namespace applet {

class COperatorDialog;

// Runs the dialog modally and returns the command that ended it
// (platform::IDOK or IDCANCEL).
int ShowOperatorDialog(COperatorDialog& dialog);

}  // namespace applet
