#include "platform/framework/data_exchange.h"

#include <algorithm>

#include "platform/controls/controls.h"
#include "platform/framework/wnd.h"
#include "platform/windows/dialog.h"
#include "platform/windows/focus.h"
#include "platform/windows/message_box.h"
#include "platform/windows/messages.h"
#include "platform/windows/window.h"
#include "platform/windows/window_messages.h"
#include "platform/windows/window_styles.h"

namespace framework {

using platform::Hwnd;
using platform::WString;

namespace {

// The framework's integer reading: blanks, an optional sign, at least one
// digit, blanks, and nothing else; within 32 bits.
bool ParseInteger(platform::WStringView text, int& out) {
  size_t i = 0;
  while (i < text.size() && platform::IsSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  const size_t digits = i;
  int64_t value = 0;
  while (i < text.size() && text[i] >= u'0' && text[i] <= u'9') {
    value = value * 10 + (text[i++] - u'0');
    if (value > (int64_t{1} << 31)) return false;
  }
  if (i == digits) return false;
  while (i < text.size() && platform::IsSpace(text[i])) ++i;
  if (i != text.size()) return false;
  if (negative) value = -value;
  if (value > INT32_MAX || value < INT32_MIN) return false;
  out = static_cast<int>(value);
  return true;
}

bool Skip(CDataExchange* dx) { return dx == nullptr || dx->Failed(); }

}  // namespace

Hwnd CDataExchange::PrepareCtrl(int id) {
  last_ = dialog_ == nullptr ? platform::kNoWindow : dialog_->GetDlgItem(id);
  return last_;
}

void CDataExchange::Fail() {
  failed_ = true;
  if (!last_) return;
  platform::SetFocus(last_);
  if ((platform::SendMessage(last_, platform::WM_GETDLGCODE, 0, 0) & platform::DLGC_HASSETSEL) != 0)
    platform::SendMessage(last_, platform::EM_SETSEL, 0, -1);
}

void DDX_Text(CDataExchange* dx, int id, WString& value) {
  if (Skip(dx)) return;
  const Hwnd control = dx->PrepareCtrl(id);
  if (!control) return;
  if (dx->IsSaving()) {
    value = platform::GetWindowText(control);
  } else {
    platform::SetWindowText(control, value);
  }
}

void DDX_Text(CDataExchange* dx, int id, int& value) {
  if (Skip(dx)) return;
  const Hwnd control = dx->PrepareCtrl(id);
  if (!control) return;
  if (!dx->IsSaving()) {
    platform::SetWindowText(control, platform::FormatInt(value));
    return;
  }
  int parsed = 0;
  if (ParseInteger(platform::GetWindowText(control), parsed)) {
    value = parsed;
    return;
  }
  const Hwnd owner = dx->Dialog() == nullptr ? platform::kNoWindow : dx->Dialog()->GetSafeHwnd();
  platform::MessageBox(owner, kParseIntMessage, platform::GetWindowText(owner),
                       platform::MB_OK | platform::MB_ICONEXCLAMATION);
  dx->Fail();
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
  if (Skip(dx)) return;
  const Hwnd control = dx->PrepareCtrl(id);
  if (!control) return;
  if (dx->IsSaving()) {
    value = static_cast<int>(platform::SendMessage(control, platform::BM_GETCHECK, 0, 0));
  } else {
    platform::SendMessage(control, platform::BM_SETCHECK, static_cast<platform::WParam>(std::clamp(value, 0, 2)), 0);
  }
}

void DDX_Radio(CDataExchange* dx, int id, int& value) {
  if (Skip(dx)) return;
  const Hwnd first = dx->PrepareCtrl(id);
  if (!first) return;
  // The group: this button and the ones after it up to the next WS_GROUP.
  const std::vector<Hwnd> siblings = platform::GetChildWindows(platform::GetParent(first));
  auto at = std::find(siblings.begin(), siblings.end(), first);
  std::vector<Hwnd> group;
  for (auto it = at; it != siblings.end(); ++it) {
    if (it != at && (platform::GetWindowLong(*it, platform::GWL_STYLE) & platform::WS_GROUP) != 0) break;
    if ((platform::SendMessage(*it, platform::WM_GETDLGCODE, 0, 0) & platform::DLGC_RADIOBUTTON) != 0)
      group.push_back(*it);
  }
  if (dx->IsSaving()) value = -1;
  for (size_t i = 0; i < group.size(); ++i) {
    if (dx->IsSaving()) {
      if (platform::SendMessage(group[i], platform::BM_GETCHECK, 0, 0) == platform::BST_CHECKED)
        value = static_cast<int>(i);
    } else {
      platform::SendMessage(group[i], platform::BM_SETCHECK,
                            static_cast<int>(i) == value ? platform::BST_CHECKED : platform::BST_UNCHECKED, 0);
    }
  }
}

void DDX_CBString(CDataExchange* dx, int id, WString& value) {
  if (Skip(dx)) return;
  const Hwnd control = dx->PrepareCtrl(id);
  if (!control) return;
  if (dx->IsSaving()) {
    value = platform::GetWindowText(control);
    return;
  }
  const WString terminated = value;
  if (platform::SendMessage(control, platform::CB_SELECTSTRING, static_cast<platform::WParam>(-1),
                            reinterpret_cast<platform::LParam>(terminated.c_str())) == platform::CB_ERR)
    platform::SetWindowText(control, value);  // a drop-down list ignores it
}

void DDX_CBIndex(CDataExchange* dx, int id, int& index) {
  if (Skip(dx)) return;
  const Hwnd control = dx->PrepareCtrl(id);
  if (!control) return;
  if (dx->IsSaving()) {
    index = static_cast<int>(platform::SendMessage(control, platform::CB_GETCURSEL, 0, 0));
  } else {
    platform::SendMessage(control, platform::CB_SETCURSEL, static_cast<platform::WParam>(index), 0);
  }
}

void DDX_LBString(CDataExchange* dx, int id, WString& value) {
  if (Skip(dx)) return;
  const Hwnd control = dx->PrepareCtrl(id);
  if (!control) return;
  if (dx->IsSaving()) {
    const auto sel = platform::SendMessage(control, platform::LB_GETCURSEL, 0, 0);
    value.clear();
    const auto length = platform::SendMessage(control, platform::LB_GETTEXTLEN, static_cast<platform::WParam>(sel), 0);
    if (sel < 0 || length < 0) return;
    WString text(static_cast<size_t>(length) + 1, u'\0');
    platform::SendMessage(control, platform::LB_GETTEXT, static_cast<platform::WParam>(sel),
                          reinterpret_cast<platform::LParam>(text.data()));
    text.resize(static_cast<size_t>(length));
    value = std::move(text);
  } else {
    const WString terminated = value;
    platform::SendMessage(control, platform::LB_SELECTSTRING, static_cast<platform::WParam>(-1),
                          reinterpret_cast<platform::LParam>(terminated.c_str()));
  }
}

void DDX_LBIndex(CDataExchange* dx, int id, int& index) {
  if (Skip(dx)) return;
  const Hwnd control = dx->PrepareCtrl(id);
  if (!control) return;
  if (dx->IsSaving()) {
    index = static_cast<int>(platform::SendMessage(control, platform::LB_GETCURSEL, 0, 0));
  } else {
    platform::SendMessage(control, platform::LB_SETCURSEL, static_cast<platform::WParam>(index), 0);
  }
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
  if (Skip(dx) || control.GetSafeHwnd()) return;
  const Hwnd hwnd = dx->PrepareCtrl(id);
  if (hwnd) control.SubclassWindow(hwnd);
}

}  // namespace framework
