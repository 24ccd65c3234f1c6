#include "platform/controls/control_paint.h"

#include <algorithm>

#include "platform/windows/default_window_procedure.h"
#include "platform/windows/messages.h"
#include "platform/windows/system_colors.h"
#include "platform/windows/window.h"
#include "platform/windows/window_messages.h"

namespace platform::controls {

const Brush& PrepareDc(Hwnd hwnd, DeviceContext& dc, uint32_t ctlColorMessage) {
  dc.SelectFont(GetWindowFont(hwnd));
  dc.SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
  dc.SetBkColor(GetSysColor(COLOR_WINDOW));
  dc.SetBkMode(kOpaque);
  const Hwnd parent = GetParent(hwnd);
  const Brush* brush = nullptr;
  if (parent)
    brush = reinterpret_cast<const Brush*>(
        SendMessage(parent, ctlColorMessage, reinterpret_cast<WParam>(&dc), ToLParam(hwnd)));
  if (brush == nullptr)
    brush = reinterpret_cast<const Brush*>(
        DefWindowProc(hwnd, ctlColorMessage, reinterpret_cast<WParam>(&dc), ToLParam(hwnd)));
  return *brush;
}

void FillSolid(DeviceContext& dc, const Rect& rect, ColorRef color) {
  dc.FillRect(rect, *Brush::CreateSolid(color));
}

void Frame(DeviceContext& dc, const Rect& rect, ColorRef color, int thickness) {
  const auto brush = Brush::CreateSolid(color);
  Rect r = rect;
  for (int i = 0; i < thickness && !r.IsEmpty(); ++i) {
    dc.FrameRect(r, *brush);
    r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  }
}

void Arrow(DeviceContext& dc, const Rect& box, ArrowDirection direction, ColorRef color) {
  // A triangle of rows (or columns) one pixel shorter at each end per step.
  const int size = std::max(1, std::min(box.Width(), box.Height()) / 3);
  const int cx = box.left + box.Width() / 2;
  const int cy = box.top + box.Height() / 2;
  for (int i = 0; i < size; ++i) {
    const int half = size - 1 - i;
    switch (direction) {
      case ArrowDirection::Down:
        FillSolid(dc, {cx - half - 1, cy - size / 2 + i, cx + half, cy - size / 2 + i + 1}, color);
        break;
      case ArrowDirection::Up:
        FillSolid(dc, {cx - half - 1, cy + size / 2 - i, cx + half, cy + size / 2 - i + 1}, color);
        break;
      case ArrowDirection::Right:
        FillSolid(dc, {cx - size / 2 + i, cy - half - 1, cx - size / 2 + i + 1, cy + half}, color);
        break;
      case ArrowDirection::Left:
        FillSolid(dc, {cx + size / 2 - i, cy - half - 1, cx + size / 2 - i + 1, cy + half}, color);
        break;
    }
  }
}

void FocusFrame(DeviceContext& dc, const Rect& rect, ColorRef color) {
  if (rect.IsEmpty()) return;
  for (int x = rect.left; x < rect.right; x += 2) {
    dc.SetPixel(x, rect.top, color);
    dc.SetPixel(x, rect.bottom - 1, color);
  }
  for (int y = rect.top; y < rect.bottom; y += 2) {
    dc.SetPixel(rect.left, y, color);
    dc.SetPixel(rect.right - 1, y, color);
  }
}

void NotifyParent(Hwnd hwnd, uint16_t code) {
  const Hwnd parent = GetParent(hwnd);
  if (!parent) return;
  SendMessage(parent, WM_COMMAND, MakeWParam(static_cast<uint16_t>(GetDlgCtrlID(hwnd)), code), ToLParam(hwnd));
}

ColorRef TextColor(Hwnd hwnd, const DeviceContext& dc) {
  return IsWindowEnabled(hwnd) ? dc.TextColor() : GetSysColor(COLOR_GRAYTEXT);
}

int LineHeight(Hwnd hwnd) {
  const auto font = GetWindowFont(hwnd);
  return font ? font->Metrics().height : 13;
}

int TextWidth(const DeviceContext& dc, WStringView text) {
  Size size;
  if (text.empty() || !dc.GetTextExtentPoint(text, &size)) return 0;
  return size.cx;
}

}  // namespace platform::controls
