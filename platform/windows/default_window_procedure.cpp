#include "platform/windows/default_window_procedure.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/device_context.h"
#include "platform/windows/focus.h"
#include "platform/windows/messages.h"
#include "platform/windows/paint.h"
#include "platform/windows/system_colors.h"
#include "platform/windows/window.h"
#include "platform/windows/window_manager.h"
#include "platform/windows/window_messages.h"

namespace platform {

using window_system::WindowManager;
using window_system::WindowRecord;

namespace {

// Texts handed in with WM_SETTEXT are ended by a 0; this bounds the search
// for it.
constexpr size_t kMaxWindowText = 65535;

WString TextFromParam(LParam lParam) {
  const auto* text = reinterpret_cast<const char16_t*>(lParam);
  if (text == nullptr) return {};
  size_t n = 0;
  while (n < kMaxWindowText && text[n] != 0) ++n;
  return WString(text, n);
}

}  // namespace

const Brush* GetSysColorBrush(int index) {
  static std::mutex mutex;
  static std::map<int, std::shared_ptr<const Brush>>* brushes = new std::map<int, std::shared_ptr<const Brush>>;
  std::lock_guard lock(mutex);
  auto& brush = (*brushes)[index];
  if (!brush) brush = Brush::CreateSolid(GetSysColor(index));
  return brush.get();
}

LResult DefWindowProc(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam) {
  WindowManager& m = WindowManager::Get();
  switch (message) {
    case WM_SETTEXT: {
      WString text = TextFromParam(lParam);
      std::lock_guard lock(m.mutex);
      WindowRecord* r = m.Find(hwnd);
      if (r == nullptr) return 0;
      r->text = std::move(text);
      window_system::InvalidateLocked(m, *r, nullptr, true);
      return 1;
    }
    case WM_GETTEXT: {
      auto* buffer = reinterpret_cast<char16_t*>(lParam);
      if (buffer == nullptr || wParam == 0) return 0;
      std::lock_guard lock(m.mutex);
      WindowRecord* r = m.Find(hwnd);
      if (r == nullptr) {
        buffer[0] = 0;
        return 0;
      }
      const size_t n = std::min<size_t>(r->text.size(), wParam - 1);
      std::copy_n(r->text.data(), n, buffer);
      buffer[n] = 0;
      return static_cast<LResult>(n);
    }
    case WM_GETTEXTLENGTH: {
      std::lock_guard lock(m.mutex);
      WindowRecord* r = m.Find(hwnd);
      return r == nullptr ? 0 : static_cast<LResult>(r->text.size());
    }
    case WM_PAINT: {
      PaintStruct ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND: {
      auto* dc = reinterpret_cast<DeviceContext*>(wParam);
      std::shared_ptr<const Brush> brush;
      Rect client;
      {
        std::lock_guard lock(m.mutex);
        WindowRecord* r = m.Find(hwnd);
        if (r == nullptr) return 0;
        brush = r->windowClass->background;
        client = window_system::ClientRectOf(*r);
      }
      if (dc == nullptr || !brush) return 0;
      dc->FillRect(client, *brush);
      return 1;
    }
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_SETFONT: {
      {
        std::lock_guard lock(m.mutex);
        WindowRecord* r = m.Find(hwnd);
        if (r == nullptr) return 0;
        r->font = wParam;
        if (LoWord(static_cast<uintptr_t>(lParam)) != 0) window_system::InvalidateLocked(m, *r, nullptr, true);
      }
      return 0;
    }
    case WM_GETFONT: {
      std::lock_guard lock(m.mutex);
      WindowRecord* r = m.Find(hwnd);
      return r == nullptr ? 0 : static_cast<LResult>(r->font);
    }
    case WM_ACTIVATE:
      if (LoWord(wParam) != WA_INACTIVE) {
        const Hwnd focus = GetFocus();
        if (focus != hwnd && !IsChild(hwnd, focus)) SetFocus(hwnd);
      }
      return 0;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
      if (auto* dc = reinterpret_cast<DeviceContext*>(wParam)) {
        dc->SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
        dc->SetBkColor(GetSysColor(COLOR_WINDOW));
      }
      return reinterpret_cast<LResult>(GetSysColorBrush(message == WM_CTLCOLORSCROLLBAR ? COLOR_SCROLLBAR : COLOR_WINDOW));
    }
    default:
      return 0;
  }
}

}  // namespace platform
