#pragma once
// The framework's control classes: CWnd objects for the standard controls,
// with the controls' messages as member functions. Tie one to a dialog's
// control with DDX_Control (or SubclassDlgItem), or make the control with
// Create.

#include <cstdint>

#include "platform/framework/wnd.h"

namespace framework {

class CStatic : public CWnd {
  VELM_DECLARE_DYNAMIC(CStatic)
};

class CButton : public CWnd {
  VELM_DECLARE_DYNAMIC(CButton)

 public:
  int GetCheck() const;
  void SetCheck(int check) const;
};

class CEdit : public CWnd {
  VELM_DECLARE_DYNAMIC(CEdit)

 public:
  void SetLimitText(int limit) const;
  int GetLimitText() const;
  // start..end; end -1 means the end of the text, start -1 no selection.
  void SetSel(int start, int end, bool noScroll = false) const;
  void GetSel(int& start, int& end) const;
  void ReplaceSel(platform::WStringView text) const;
};

class CComboBox : public CWnd {
  VELM_DECLARE_DYNAMIC(CComboBox)

 public:
  int AddString(platform::WStringView text) const;
  void ResetContent() const;
  int GetCount() const;
  int GetCurSel() const;
  int SetCurSel(int index) const;
  int SelectString(int after, platform::WStringView prefix) const;
  int FindStringExact(int after, platform::WStringView text) const;
  platform::WString GetLBText(int index) const;
};

class CListBox : public CWnd {
  VELM_DECLARE_DYNAMIC(CListBox)

 public:
  int AddString(platform::WStringView text) const;
  void ResetContent() const;
  int GetCount() const;
  int GetCurSel() const;
  int SetCurSel(int index) const;
  platform::WString GetText(int index) const;
};

class CProgressCtrl : public CWnd {
  VELM_DECLARE_DYNAMIC(CProgressCtrl)

 public:
  void SetRange(int low, int high) const;
  int SetPos(int pos) const;
  int GetPos() const;
  int StepIt() const;
};

class CScrollBar : public CWnd {
  VELM_DECLARE_DYNAMIC(CScrollBar)

 public:
  // A scroll bar control child of parent with the id.
  bool Create(uint32_t style, const platform::Rect& rect, CWnd* parent, int id);
  int GetScrollPos() const;
  int SetScrollPos(int pos, bool redraw = true) const;
  void SetScrollRange(int min, int max, bool redraw = true) const;
  void GetScrollRange(int* min, int* max) const;
  // The highest position: the range's end less a page.
  int GetScrollLimit() const;
};

}  // namespace framework
