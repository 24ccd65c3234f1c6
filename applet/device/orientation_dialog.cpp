#include "applet/device/orientation_dialog.h"

#include <algorithm>
#include <map>

#include "platform/controls/controls.h"
#include "platform/windows/dialog.h"
#include "platform/windows/screen.h"
#include "platform/windows/system_metrics.h"
#include "platform/windows/window_messages.h"
#include "platform/windows/window_styles.h"

namespace applet {

using platform::GetSystemMetrics;
using platform::Hwnd;
using platform::Rect;

VELM_IMPLEMENT_DYNAMIC(COrientationDialog, framework::CDialog)

namespace {

// The scroll bar has no id: the OK button has id 1, and a scroll bar with
// that id on top of the controls would be found in its place.
constexpr int kScrollBarId = 0;

// The n-th child (in z-order) with the id: controls that share an id (the
// labels' "no id", 65535) each find their own counterpart.
Hwnd NthWithId(Hwnd parent, int id, int n) {
  for (const Hwnd child : platform::GetChildWindows(parent))
    if (platform::GetDlgCtrlID(child) == id && n-- == 0) return child;
  return platform::kNoWindow;
}

intptr_t NoDialogProcedure(Hwnd, uint32_t, platform::WParam, platform::LParam) { return 0; }

}  // namespace

bool IsScreenPortrait() {
  return GetSystemMetrics(platform::SM_CXSCREEN) <= GetSystemMetrics(platform::SM_CYSCREEN);
}

COrientationDialog::COrientationDialog(uint16_t portraitTemplate, uint16_t landscapeTemplate, framework::CWnd* parent)
    : CDialog(IsScreenPortrait() ? portraitTemplate : landscapeTemplate, parent),
      isPortrait_(IsScreenPortrait()),
      portraitAtCreation_(isPortrait_),
      portraitTemplate_(portraitTemplate),
      landscapeTemplate_(landscapeTemplate) {}

bool COrientationDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  if (IsScreenPortrait() != portraitAtCreation_) {
    isPortrait_ = IsScreenPortrait();
    Relayout();
  }
  visibleArea_ = GetClientRect();
  const Rect client = GetClientRect();
  scrollBar_.Create(platform::SBS_VERT,
                    {client.right - GetSystemMetrics(platform::SM_CXHSCROLL), 0, client.right,
                     client.bottom - GetSystemMetrics(platform::SM_CYVSCROLL)},
                    this, kScrollBarId);
  scrollBar_.ShowWindow(platform::SW_HIDE);
  return true;
}

platform::LResult COrientationDialog::WindowProc(uint32_t message, platform::WParam wParam, platform::LParam lParam) {
  if (message == platform::WM_SETTINGCHANGE && IsScreenPortrait() != isPortrait_) {
    isPortrait_ = IsScreenPortrait();
    OnOrientationChanged();
  }
  return CDialog::WindowProc(message, wParam, lParam);
}

void COrientationDialog::OnOrientationChanged() {
  Relayout();
  OnLayoutChanged();
}

void COrientationDialog::OnLayoutChanged() {}

void COrientationDialog::Relayout() {
  std::optional<platform::DialogTemplate> t =
      platform::LoadDialogTemplate(IsScreenPortrait() ? portraitTemplate_ : landscapeTemplate_);
  if (!t) return;
  t->style &= ~platform::WS_VISIBLE;
  const Hwnd copy = platform::CreateDialogIndirectParam(
      *t, ParentWindow() == nullptr ? platform::kNoWindow : ParentWindow()->GetSafeHwnd(), &NoDialogProcedure, 0);
  if (!copy) return;
  const int down = GetSystemMetrics(platform::SM_CYCAPTION) + GetSystemMetrics(platform::SM_CYMENU) +
                   4 * GetSystemMetrics(platform::SM_CYBORDER);
  const int across = GetSystemMetrics(platform::SM_CXBORDER);
  ModifyStyle(platform::WS_VSCROLL, 0);
  Rect copyClient;
  platform::GetClientRect(copy, &copyClient);
  constexpr uint32_t kOwnState = platform::WS_VISIBLE | platform::WS_DISABLED;
  std::map<int, int> seen;  // controls of each id met so far
  for (const Hwnd control : platform::GetChildWindows(GetSafeHwnd())) {
    const int id = platform::GetDlgCtrlID(control);
    if (id == 0) continue;
    const Hwnd counterpart = NthWithId(copy, id, seen[id]++);
    if (!counterpart) continue;
    Rect r;
    platform::GetWindowRect(counterpart, &r);
    r = {r.left - across, r.top - down, r.right - across, r.bottom - down};
    if (r.right > copyClient.Width() || r.bottom > copyClient.Height()) {
      platform::ShowWindow(control, platform::SW_HIDE);
      continue;
    }
    platform::SetWindowPos(control, platform::kNoWindow, r.left, r.top, r.Width(), r.Height(),
                           platform::SWP_NOZORDER | platform::SWP_NOACTIVATE);
    const auto own = static_cast<uint32_t>(platform::GetWindowLong(control, platform::GWL_STYLE)) & kOwnState;
    const auto style = static_cast<uint32_t>(platform::GetWindowLong(counterpart, platform::GWL_STYLE));
    platform::SetWindowLong(control, platform::GWL_STYLE, static_cast<intptr_t>((style & ~kOwnState) | own));
    platform::SetWindowLong(control, platform::GWL_EXSTYLE, platform::GetWindowLong(counterpart, platform::GWL_EXSTYLE));
  }
  platform::DestroyWindow(copy);
  // The controls stand where the template puts them: nothing is scrolled.
  if (scrollBar_.GetSafeHwnd()) scrollBar_.SetScrollPos(0);
}

void COrientationDialog::OnSettingChange(uint32_t flags, const char16_t* section) {
  CDialog::OnSettingChange(flags, section);
  const platform::SipInfo sip = platform::SipGetInfo();
  const bool up = (sip.flags & platform::SIPF_ON) != 0;
  // A turn of the screen is looked at as well: the bar must go when the
  // screen turns portrait with the panel up.
  if (up == panelUp_ && flags != platform::SETTINGCHANGE_RESET) return;
  panelUp_ = up;
  visibleArea_ = sip.visibleDesktop;
  if (!scrollBar_.GetSafeHwnd()) return;
  const Rect client = GetClientRect();
  const int visibleHeight = visibleArea_.Height();
  const bool need = !noScroll_ && panelUp_ && !isPortrait_ && visibleHeight < client.Height();
  if (need != scrollActive_) {
    if (!need) ScrollTo(0);
    const int width = GetSystemMetrics(platform::SM_CXVSCROLL);
    scrollBar_.SetWindowPos(platform::HWND_TOP, client.right - width, 0, width, visibleHeight,
                            need ? platform::SWP_SHOWWINDOW : platform::SWP_HIDEWINDOW);
    scrollActive_ = need;
  }
  scrollBar_.SetScrollRange(0, std::max(0, client.Height() - visibleHeight), true);
}

void COrientationDialog::OnVScroll(uint32_t code, uint32_t pos, Hwnd bar) {
  if (!scrollActive_) {
    Default();
    return;
  }
  (void)bar;
  const int cur = scrollBar_.GetScrollPos();
  // The last position of the range can be reached: the bottom of the
  // client area comes into view.
  const int maximum = scrollBar_.GetScrollLimit();
  const int h = GetClientRect().Height();
  int next = cur;
  switch (code) {
    case platform::SB_LINEUP: next = cur - h / 10; break;
    case platform::SB_LINEDOWN: next = cur + h / 10; break;
    case platform::SB_PAGEUP: next = cur - h; break;
    case platform::SB_PAGEDOWN: next = cur + h; break;
    case platform::SB_THUMBPOSITION:
    case platform::SB_THUMBTRACK: next = static_cast<int>(pos); break;
    case platform::SB_TOP: next = 0; break;
    case platform::SB_BOTTOM: next = maximum; break;
    default: break;
  }
  ScrollTo(std::clamp(next, 0, std::max(0, maximum)));
}

void COrientationDialog::ScrollTo(int position) {
  const int cur = scrollBar_.GetScrollPos();
  if (position == cur) return;
  const Hwnd bar = scrollBar_.GetSafeHwnd();
  for (const Hwnd child : platform::GetChildWindows(GetSafeHwnd())) {
    if (child == bar) continue;
    Rect r;
    platform::GetWindowRect(child, &r);
    platform::MapWindowRect(platform::kNoWindow, GetSafeHwnd(), &r);
    platform::SetWindowPos(child, platform::kNoWindow, r.left, r.top - (position - cur), 0, 0,
                           platform::SWP_NOSIZE | platform::SWP_NOZORDER | platform::SWP_NOACTIVATE);
  }
  Invalidate(true);
  scrollBar_.SetScrollPos(position);
}

}  // namespace applet
