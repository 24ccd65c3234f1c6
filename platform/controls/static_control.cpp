// Static controls: text, filled rectangles and icons.

#include "platform/controls/control_paint.h"
#include "platform/controls/control_procedures.h"
#include "platform/controls/controls.h"
#include "platform/windows/default_window_procedure.h"
#include "platform/windows/paint.h"
#include "platform/windows/system_colors.h"
#include "platform/windows/window.h"
#include "platform/windows/window_messages.h"
#include "platform/windows/window_styles.h"

namespace platform::controls {

namespace {

uint32_t TextFormat(uint32_t style) {
  uint32_t format = (style & SS_NOPREFIX) != 0 ? kDtNoPrefix : 0;
  switch (style & SS_TYPEMASK) {
    case SS_CENTER: format |= kDtCenter | kDtWordBreak; break;
    case SS_RIGHT: format |= kDtRight | kDtWordBreak; break;
    case SS_LEFTNOWORDWRAP: format |= kDtSingleLine; break;
    default: format |= kDtWordBreak; break;
  }
  if ((style & SS_CENTERIMAGE) != 0) format = (format & ~kDtWordBreak) | kDtSingleLine | kDtVCenter;
  return format;
}

void Paint(Hwnd hwnd) {
  PaintStruct ps;
  DeviceContext* dc = BeginPaint(hwnd, &ps);
  if (dc == nullptr) return;
  Rect client;
  GetClientRect(hwnd, &client);
  const uint32_t style = static_cast<uint32_t>(GetWindowLong(hwnd, GWL_STYLE));
  switch (style & SS_TYPEMASK) {
    case SS_BLACKRECT: FillSolid(*dc, client, GetSysColor(COLOR_WINDOWFRAME)); break;
    case SS_GRAYRECT: FillSolid(*dc, client, GetSysColor(COLOR_BTNSHADOW)); break;
    case SS_WHITERECT: FillSolid(*dc, client, GetSysColor(COLOR_WINDOW)); break;
    case SS_ICON: dc->FillRect(client, PrepareDc(hwnd, *dc, WM_CTLCOLORSTATIC)); break;
    default: {
      const Brush& background = PrepareDc(hwnd, *dc, WM_CTLCOLORSTATIC);
      dc->FillRect(client, background);
      dc->SetBkMode(kTransparent);
      dc->SetTextColor(TextColor(hwnd, *dc));
      Rect text = client;
      dc->DrawText(GetWindowText(hwnd), text, TextFormat(style));
      break;
    }
  }
  EndPaint(hwnd, &ps);
}

}  // namespace

LResult StaticProcedure(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam) {
  switch (message) {
    case WM_PAINT:
      Paint(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
      if ((GetWindowLong(hwnd, GWL_STYLE) & SS_NOTIFY) != 0) NotifyParent(hwnd, STN_CLICKED);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_STATIC;
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, true);
      return 0;
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

}  // namespace platform::controls
