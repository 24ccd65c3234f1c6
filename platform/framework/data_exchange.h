#pragma once
// Data exchange between a dialog's fields and its controls (the
// framework's DDX routines). One exchange goes one way: from the fields to
// the controls when the dialog starts, from the controls to the fields on
// OK. A field that refuses its control's value (an integer field given
// text) shows the framework's own message, gives its control the focus and
// stops the exchange: that field and every field after it keep their
// values.

#include <cstdint>

#include "base/text.h"
#include "platform/windows/window_types.h"

namespace framework {

class CWnd;

class CDataExchange {
 public:
  CDataExchange(CWnd* dialog, bool saveAndValidate) : dialog_(dialog), save_(saveAndValidate) {}

  bool IsSaving() const { return save_; }
  CWnd* Dialog() const { return dialog_; }
  // The control with the id, remembered as the one the exchange is at;
  // none when the dialog has no such control.
  platform::Hwnd PrepareCtrl(int id);
  // Ends the exchange: the control it was at gets the focus (an edit field
  // with its text selected).
  void Fail();
  bool Failed() const { return failed_; }

 private:
  CWnd* dialog_;
  bool save_;
  bool failed_ = false;
  platform::Hwnd last_;
};

// The framework's message for an integer field that holds something else.
inline constexpr char16_t kParseIntMessage[] = u"Please enter an integer.";

void DDX_Text(CDataExchange* dx, int id, platform::WString& value);
// Decimal text: blanks, an optional sign, digits, blanks.
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
// The index of the checked button in the group that starts at id; -1 when
// none is checked.
void DDX_Radio(CDataExchange* dx, int id, int& value);
// Saving takes the field's text (a drop-down list's selected entry);
// loading selects the first entry that starts with the value, or, when
// none does, sets the text of a drop-down combo box.
void DDX_CBString(CDataExchange* dx, int id, platform::WString& value);
void DDX_CBIndex(CDataExchange* dx, int id, int& index);
void DDX_LBString(CDataExchange* dx, int id, platform::WString& value);
void DDX_LBIndex(CDataExchange* dx, int id, int& index);
// Ties a control object to the dialog's control (once).
void DDX_Control(CDataExchange* dx, int id, CWnd& control);

}  // namespace framework
