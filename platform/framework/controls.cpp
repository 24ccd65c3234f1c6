#include "platform/framework/controls.h"

#include <algorithm>

#include "platform/controls/controls.h"
#include "platform/windows/window_styles.h"

namespace framework {

using platform::LParam;
using platform::WParam;

VELM_IMPLEMENT_DYNAMIC(CStatic, CWnd)
VELM_IMPLEMENT_DYNAMIC(CButton, CWnd)
VELM_IMPLEMENT_DYNAMIC(CEdit, CWnd)
VELM_IMPLEMENT_DYNAMIC(CComboBox, CWnd)
VELM_IMPLEMENT_DYNAMIC(CListBox, CWnd)
VELM_IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
VELM_IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

namespace {

LParam Text(const platform::WString& terminated) { return reinterpret_cast<LParam>(terminated.c_str()); }

platform::WString ItemText(const CWnd& wnd, uint32_t lengthMessage, uint32_t textMessage, int index) {
  const auto length = wnd.SendMessage(lengthMessage, static_cast<WParam>(index), 0);
  if (length < 0) return {};
  platform::WString text(static_cast<size_t>(length) + 1, u'\0');
  wnd.SendMessage(textMessage, static_cast<WParam>(index), reinterpret_cast<LParam>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

}  // namespace

int CButton::GetCheck() const { return static_cast<int>(SendMessage(platform::BM_GETCHECK)); }
void CButton::SetCheck(int check) const { SendMessage(platform::BM_SETCHECK, static_cast<WParam>(check)); }

void CEdit::SetLimitText(int limit) const { SendMessage(platform::EM_LIMITTEXT, static_cast<WParam>(limit)); }
int CEdit::GetLimitText() const { return static_cast<int>(SendMessage(platform::EM_GETLIMITTEXT)); }
void CEdit::SetSel(int start, int end, bool noScroll) const {
  SendMessage(platform::EM_SETSEL, static_cast<WParam>(start), end);
  if (!noScroll) SendMessage(platform::EM_SCROLLCARET);
}
void CEdit::GetSel(int& start, int& end) const {
  uint32_t s = 0, e = 0;
  SendMessage(platform::EM_GETSEL, reinterpret_cast<WParam>(&s), reinterpret_cast<LParam>(&e));
  start = static_cast<int>(s);
  end = static_cast<int>(e);
}
void CEdit::ReplaceSel(platform::WStringView text) const {
  const platform::WString terminated(text);
  SendMessage(platform::EM_REPLACESEL, 0, Text(terminated));
}

int CComboBox::AddString(platform::WStringView text) const {
  const platform::WString terminated(text);
  return static_cast<int>(SendMessage(platform::CB_ADDSTRING, 0, Text(terminated)));
}
void CComboBox::ResetContent() const { SendMessage(platform::CB_RESETCONTENT); }
int CComboBox::GetCount() const { return static_cast<int>(SendMessage(platform::CB_GETCOUNT)); }
int CComboBox::GetCurSel() const { return static_cast<int>(SendMessage(platform::CB_GETCURSEL)); }
int CComboBox::SetCurSel(int index) const {
  return static_cast<int>(SendMessage(platform::CB_SETCURSEL, static_cast<WParam>(index)));
}
int CComboBox::SelectString(int after, platform::WStringView prefix) const {
  const platform::WString terminated(prefix);
  return static_cast<int>(SendMessage(platform::CB_SELECTSTRING, static_cast<WParam>(after), Text(terminated)));
}
int CComboBox::FindStringExact(int after, platform::WStringView text) const {
  const platform::WString terminated(text);
  return static_cast<int>(SendMessage(platform::CB_FINDSTRINGEXACT, static_cast<WParam>(after), Text(terminated)));
}
platform::WString CComboBox::GetLBText(int index) const {
  return ItemText(*this, platform::CB_GETLBTEXTLEN, platform::CB_GETLBTEXT, index);
}

int CListBox::AddString(platform::WStringView text) const {
  const platform::WString terminated(text);
  return static_cast<int>(SendMessage(platform::LB_ADDSTRING, 0, Text(terminated)));
}
void CListBox::ResetContent() const { SendMessage(platform::LB_RESETCONTENT); }
int CListBox::GetCount() const { return static_cast<int>(SendMessage(platform::LB_GETCOUNT)); }
int CListBox::GetCurSel() const { return static_cast<int>(SendMessage(platform::LB_GETCURSEL)); }
int CListBox::SetCurSel(int index) const {
  return static_cast<int>(SendMessage(platform::LB_SETCURSEL, static_cast<WParam>(index)));
}
platform::WString CListBox::GetText(int index) const {
  return ItemText(*this, platform::LB_GETTEXTLEN, platform::LB_GETTEXT, index);
}

void CProgressCtrl::SetRange(int low, int high) const {
  SendMessage(platform::PBM_SETRANGE32, static_cast<WParam>(low), high);
}
int CProgressCtrl::SetPos(int pos) const { return static_cast<int>(SendMessage(platform::PBM_SETPOS, static_cast<WParam>(pos))); }
int CProgressCtrl::GetPos() const { return static_cast<int>(SendMessage(platform::PBM_GETPOS)); }
int CProgressCtrl::StepIt() const { return static_cast<int>(SendMessage(platform::PBM_STEPIT)); }

bool CScrollBar::Create(uint32_t style, const platform::Rect& rect, CWnd* parent, int id) {
  return CreateEx(0, platform::kScrollBarClass, u"", style | platform::WS_CHILD, rect, parent, id);
}
int CScrollBar::GetScrollPos() const { return static_cast<int>(SendMessage(platform::SBM_GETPOS)); }
int CScrollBar::SetScrollPos(int pos, bool redraw) const {
  return static_cast<int>(SendMessage(platform::SBM_SETPOS, static_cast<WParam>(pos), redraw ? 1 : 0));
}
void CScrollBar::SetScrollRange(int min, int max, bool redraw) const {
  SendMessage(redraw ? platform::SBM_SETRANGEREDRAW : platform::SBM_SETRANGE, static_cast<WParam>(min), max);
}
void CScrollBar::GetScrollRange(int* min, int* max) const {
  SendMessage(platform::SBM_GETRANGE, reinterpret_cast<WParam>(min), reinterpret_cast<LParam>(max));
}
int CScrollBar::GetScrollLimit() const {
  platform::ScrollInfo info;
  info.mask = platform::SIF_RANGE | platform::SIF_PAGE;
  SendMessage(platform::SBM_GETSCROLLINFO, 0, reinterpret_cast<LParam>(&info));
  return info.max - std::max(0, static_cast<int>(info.page) - 1);
}

}  // namespace framework
