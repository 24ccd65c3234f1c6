#pragma once
// Dialogs: windows made from a dialog template, with the template's
// controls as children, driven by a dialog procedure, and the keyboard
// handling of dialogs.
//
// Making a dialog: the template's sizes in dialog units become pixels
// through the base units of the dialog's font (dialog_units.h); a top-level
// dialog's position counts from the top-left corner of the working area (or
// it is centred in it with DS_CENTER; a font size beyond 1 to 72 points is
// brought within them); the dialog and every control are
// created hidden, get the dialog's font (WM_SETFONT), the dialog procedure
// hears WM_INITDIALOG with the first control that takes the tab key in
// wParam (a nonzero answer gives that control the focus) and the dialog is
// shown if its style says WS_VISIBLE. A control that cannot be made fails
// the whole dialog.
//
// A modal dialog disables its owner, is shown, and runs its own message
// loop until EndDialog; then the owner is enabled again (so it takes the
// activation back) and the dialog is destroyed. A modeless dialog ended
// with EndDialog is only hidden.
//
// Keys in a dialog (IsDialogMessage): Tab moves the focus to the next
// control that is shown, enabled and has WS_TABSTOP (selecting all of an
// edit field's text); Enter clicks the focused push button or else the
// default button (DM_GETDEFID, IDOK when none is set); Escape sends
// IDCANCEL; the arrows move within a group and check radio buttons. A
// control can ask for these keys itself with WM_GETDLGCODE.

#include <cstdint>
#include <optional>

#include "base/text.h"
#include "platform/windows/dialog_template.h"
#include "platform/windows/window_types.h"

namespace platform {

inline constexpr char16_t kDialogClass[] = u"Dialog";
// DWL_MSGRESULT, DWL_DLGPROC, DWL_USER.
inline constexpr int kDialogExtraBytes = 12;

bool IsDialogWindow(Hwnd hwnd);

Hwnd CreateDialogIndirectParam(const DialogTemplate& dialogTemplate, Hwnd owner, DialogProcedure procedure,
                               LParam initParam);
// -1 when the dialog could not be made.
intptr_t DialogBoxIndirectParam(const DialogTemplate& dialogTemplate, Hwnd owner, DialogProcedure procedure,
                                LParam initParam);
// From the current resource source; fail like the above (none, -1) when the
// template is absent or malformed.
Hwnd CreateDialogParam(uint16_t templateId, Hwnd owner, DialogProcedure procedure, LParam initParam);
intptr_t DialogBoxParam(uint16_t templateId, Hwnd owner, DialogProcedure procedure, LParam initParam);
// The template from the current resource source, parsed.
std::optional<DialogTemplate> LoadDialogTemplate(uint16_t templateId);

bool EndDialog(Hwnd dialog, intptr_t result);
// Whether EndDialog was called, and its result.
bool IsDialogEnded(Hwnd dialog, intptr_t* result = nullptr);

LResult DefDlgProc(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam);
// True when the message was for the dialog (or one of its controls) and has
// been handled; the caller must not dispatch it then.
bool IsDialogMessage(Hwnd dialog, Msg* msg);

Hwnd GetNextDlgTabItem(Hwnd dialog, Hwnd control, bool previous);
Hwnd GetNextDlgGroupItem(Hwnd dialog, Hwnd control, bool previous);

LResult SendDlgItemMessage(Hwnd dialog, int id, uint32_t message, WParam wParam, LParam lParam);
bool SetDlgItemText(Hwnd dialog, int id, WStringView text);
WString GetDlgItemText(Hwnd dialog, int id);
bool SetDlgItemInt(Hwnd dialog, int id, int value, bool isSigned);
// Leading blanks, a sign when signed, digits and trailing blanks; anything
// else, no digits or a value out of range fails (*ok false, result 0).
int GetDlgItemInt(Hwnd dialog, int id, bool* ok, bool isSigned);
bool CheckDlgButton(Hwnd dialog, int id, int check);
int IsDlgButtonChecked(Hwnd dialog, int id);
// Checks `check` and unchecks the other buttons with ids first..last.
bool CheckRadioButton(Hwnd dialog, int first, int last, int check);
// Dialog units of the dialog to pixels.
bool MapDialogRect(Hwnd dialog, Rect* rect);

}  // namespace platform
