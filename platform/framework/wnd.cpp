#include "platform/framework/wnd.h"

#include <mutex>
#include <unordered_map>
#include <utility>

#include "platform/windows/default_window_procedure.h"
#include "platform/windows/focus.h"
#include "platform/windows/font_handles.h"
#include "platform/windows/paint.h"
#include "platform/windows/window_messages.h"
#include "platform/windows/window_styles.h"

namespace framework {

using platform::Hwnd;
using platform::LParam;
using platform::LResult;
using platform::WParam;

VELM_IMPLEMENT_DYNAMIC(CWnd, CObject)

namespace {

struct HandleMap {
  std::mutex mutex;
  std::unordered_map<Hwnd, CWnd*> objects;
};

HandleMap& Map() {
  static HandleMap* map = new HandleMap;
  return *map;
}

// The message each thread is handling, for Default().
struct CurrentMessage {
  Hwnd hwnd;
  uint32_t message = 0;
  WParam wParam = 0;
  LParam lParam = 0;
};
thread_local CurrentMessage t_current;

void CreateHookCallback(Hwnd hwnd, void* context) { static_cast<CWnd*>(context)->SubclassWindow(hwnd); }

}  // namespace

CWnd::CWnd() = default;

CWnd::~CWnd() {
  if (!hwnd_) return;
  if (ownsWindow_ && platform::GetWindowThreadId(hwnd_) == platform::GetCurrentThreadId()) {
    // The window's last messages reach this base part only.
    platform::DestroyWindow(hwnd_);
  }
  if (hwnd_) UnsubclassWindow();
}

CWnd* CWnd::FromHandlePermanent(Hwnd hwnd) {
  HandleMap& map = Map();
  std::lock_guard lock(map.mutex);
  auto it = map.objects.find(hwnd);
  return it == map.objects.end() ? nullptr : it->second;
}

bool CWnd::CreateEx(uint32_t exStyle, platform::WStringView className, platform::WStringView text, uint32_t style,
                    const platform::Rect& rect, CWnd* parent, int id) {
  if (hwnd_) return false;
  HookWindowCreate(this);
  const Hwnd hwnd = platform::CreateWindowEx(exStyle, className, text, style, rect.left, rect.top, rect.Width(),
                                             rect.Height(), parent == nullptr ? platform::kNoWindow : parent->hwnd_, id);
  platform::HookNextWindowCreate(nullptr, nullptr);
  if (!hwnd) return false;
  ownsWindow_ = true;
  return hwnd_ == hwnd;
}

bool CWnd::SubclassWindow(Hwnd hwnd) {
  if (hwnd_ || !platform::IsWindow(hwnd)) return false;
  {
    HandleMap& map = Map();
    std::lock_guard lock(map.mutex);
    if (!map.objects.emplace(hwnd, this).second) return false;
  }
  hwnd_ = hwnd;
  previous_ = reinterpret_cast<platform::WindowProcedure>(
      platform::SetWindowLong(hwnd, platform::GWL_WNDPROC, reinterpret_cast<intptr_t>(&FrameworkWindowProc)));
  return true;
}

bool CWnd::SubclassDlgItem(int id, CWnd* parent) {
  return parent != nullptr && SubclassWindow(platform::GetDlgItem(parent->hwnd_, id));
}

Hwnd CWnd::UnsubclassWindow() {
  const Hwnd hwnd = hwnd_;
  if (!hwnd) return hwnd;
  if (previous_ != nullptr && platform::IsWindow(hwnd))
    platform::SetWindowLong(hwnd, platform::GWL_WNDPROC, reinterpret_cast<intptr_t>(previous_));
  Forget();
  return hwnd;
}

void CWnd::Forget() {
  {
    HandleMap& map = Map();
    std::lock_guard lock(map.mutex);
    auto it = map.objects.find(hwnd_);
    if (it != map.objects.end() && it->second == this) map.objects.erase(it);
  }
  hwnd_ = platform::kNoWindow;
  previous_ = nullptr;
  ownsWindow_ = false;
}

bool CWnd::DestroyWindow() { return hwnd_ && platform::DestroyWindow(hwnd_); }

LResult CWnd::WindowProc(uint32_t message, WParam wParam, LParam lParam) {
  using namespace platform;
  switch (message) {
    case WM_COMMAND:
      return OnCommand(wParam, lParam) ? 0 : Default();
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    case WM_SETTINGCHANGE:
      OnSettingChange(static_cast<uint32_t>(wParam), reinterpret_cast<const char16_t*>(lParam));
      return 0;
    case WM_VSCROLL:
      OnVScroll(LoWord(wParam), HiWord(wParam), HwndFromParam(lParam));
      return 0;
    case WM_CHAR:
      OnChar(static_cast<uint32_t>(wParam), LoWord(static_cast<uintptr_t>(lParam)),
             HiWord(static_cast<uintptr_t>(lParam)));
      return 0;
    case WM_SETFOCUS:
      OnSetFocus(HwndFromParam(wParam));
      return 0;
    case WM_KILLFOCUS:
      OnKillFocus(HwndFromParam(wParam));
      return 0;
    case WM_SIZE:
      OnSize(static_cast<uint32_t>(wParam), LoWord(static_cast<uintptr_t>(lParam)),
             HiWord(static_cast<uintptr_t>(lParam)));
      return 0;
    default:
      return Default();
  }
}

LResult CWnd::Default() {
  return DefWindowProc(t_current.message, t_current.wParam, t_current.lParam);
}

LResult CWnd::DefWindowProc(uint32_t message, WParam wParam, LParam lParam) {
  if (previous_ != nullptr) return previous_(hwnd_, message, wParam, lParam);
  return platform::DefWindowProc(hwnd_, message, wParam, lParam);
}

bool CWnd::PreTranslateMessage(platform::Msg&) { return false; }

bool CWnd::OnCommand(WParam, LParam) { return false; }
void CWnd::OnPaint() { Default(); }
void CWnd::OnTimer(uintptr_t) { Default(); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnSettingChange(uint32_t, const char16_t*) { Default(); }
void CWnd::OnVScroll(uint32_t, uint32_t, Hwnd) { Default(); }
void CWnd::OnChar(uint32_t, uint32_t, uint32_t) { Default(); }
void CWnd::OnSetFocus(Hwnd) { Default(); }
void CWnd::OnKillFocus(Hwnd) { Default(); }
void CWnd::OnSize(uint32_t, int, int) { Default(); }
void CWnd::PostNcDestroy() {}

LResult FrameworkWindowProc(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam) {
  CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
  if (wnd == nullptr) return platform::DefWindowProc(hwnd, message, wParam, lParam);
  const CurrentMessage saved = std::exchange(t_current, CurrentMessage{hwnd, message, wParam, lParam});
  const LResult result = wnd->WindowProc(message, wParam, lParam);
  t_current = saved;
  if (message == platform::WM_NCDESTROY && CWnd::FromHandlePermanent(hwnd) == wnd) {
    wnd->Forget();
    wnd->PostNcDestroy();
  }
  return result;
}

void HookWindowCreate(CWnd* wnd) { platform::HookNextWindowCreate(&CreateHookCallback, wnd); }

LResult CWnd::SendMessage(uint32_t message, WParam wParam, LParam lParam) const {
  return platform::SendMessage(hwnd_, message, wParam, lParam);
}
bool CWnd::PostMessage(uint32_t message, WParam wParam, LParam lParam) const {
  return platform::PostMessage(hwnd_, message, wParam, lParam);
}
bool CWnd::ShowWindow(int command) const { return platform::ShowWindow(hwnd_, command); }
bool CWnd::EnableWindow(bool enable) const { return platform::EnableWindow(hwnd_, enable); }
bool CWnd::IsWindowVisible() const { return platform::IsWindowVisible(hwnd_); }
bool CWnd::IsWindowEnabled() const { return platform::IsWindowEnabled(hwnd_); }
bool CWnd::MoveWindow(const platform::Rect& r, bool repaint) const {
  return platform::MoveWindow(hwnd_, r.left, r.top, r.Width(), r.Height(), repaint);
}
bool CWnd::SetWindowPos(Hwnd insertAfter, int x, int y, int width, int height, uint32_t flags) const {
  return platform::SetWindowPos(hwnd_, insertAfter, x, y, width, height, flags);
}
platform::Rect CWnd::GetWindowRect() const {
  platform::Rect r;
  platform::GetWindowRect(hwnd_, &r);
  return r;
}
platform::Rect CWnd::GetClientRect() const {
  platform::Rect r;
  platform::GetClientRect(hwnd_, &r);
  return r;
}
void CWnd::ClientToScreen(platform::Rect* rect) const { platform::MapWindowRect(hwnd_, platform::kNoWindow, rect); }
void CWnd::ScreenToClient(platform::Rect* rect) const { platform::MapWindowRect(platform::kNoWindow, hwnd_, rect); }
void CWnd::SetWindowText(platform::WStringView text) const { platform::SetWindowText(hwnd_, text); }
platform::WString CWnd::GetWindowText() const { return platform::GetWindowText(hwnd_); }
int CWnd::GetWindowTextLength() const { return platform::GetWindowTextLength(hwnd_); }
Hwnd CWnd::GetDlgItem(int id) const { return platform::GetDlgItem(hwnd_, id); }
int CWnd::GetDlgCtrlID() const { return platform::GetDlgCtrlID(hwnd_); }
Hwnd CWnd::GetParent() const { return platform::GetParent(hwnd_); }
uint32_t CWnd::GetStyle() const { return static_cast<uint32_t>(platform::GetWindowLong(hwnd_, platform::GWL_STYLE)); }
uint32_t CWnd::GetExStyle() const {
  return static_cast<uint32_t>(platform::GetWindowLong(hwnd_, platform::GWL_EXSTYLE));
}
bool CWnd::ModifyStyle(uint32_t remove, uint32_t add) const {
  const uint32_t style = GetStyle();
  const uint32_t next = (style & ~remove) | add;
  if (next == style) return false;
  platform::SetWindowLong(hwnd_, platform::GWL_STYLE, static_cast<intptr_t>(next));
  return true;
}
Hwnd CWnd::SetFocus() const { return platform::SetFocus(hwnd_); }
void CWnd::Invalidate(bool erase) const { platform::InvalidateRect(hwnd_, nullptr, erase); }
bool CWnd::UpdateWindow() const { return platform::UpdateWindow(hwnd_); }
uintptr_t CWnd::SetTimer(uintptr_t id, uint32_t milliseconds) const {
  return platform::SetTimer(hwnd_, id, milliseconds);
}
bool CWnd::KillTimer(uintptr_t id) const { return platform::KillTimer(hwnd_, id); }
void CWnd::SetFont(std::shared_ptr<const platform::Font> font, bool redraw) {
  font_ = std::move(font);
  SendMessage(platform::WM_SETFONT, platform::FontHandle(font_), redraw ? 1 : 0);
}

}  // namespace framework
