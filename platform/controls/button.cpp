// Buttons: push buttons, check boxes, radio buttons and group boxes.

#include <algorithm>

#include "platform/controls/control_paint.h"
#include "platform/controls/control_procedures.h"
#include "platform/controls/controls.h"
#include "platform/windows/default_window_procedure.h"
#include "platform/windows/focus.h"
#include "platform/windows/messages.h"
#include "platform/windows/paint.h"
#include "platform/windows/system_colors.h"
#include "platform/windows/window.h"
#include "platform/windows/window_messages.h"
#include "platform/windows/window_styles.h"

namespace platform::controls {

namespace {

// The box of a check box and the circle of a radio button.
constexpr int kMarkSize = 13;
constexpr int kMarkGap = 4;

struct ButtonState {
  int check = BST_UNCHECKED;
  bool pushed = false;    // drawn pressed
  bool tracking = false;  // the pen went down on it and holds the capture
};

std::shared_ptr<ButtonState> StateOf(Hwnd hwnd) {
  auto state = WindowClassState<ButtonState>(hwnd);
  if (!state) {
    state = std::make_shared<ButtonState>();
    SetWindowClassState(hwnd, state);
  }
  return state;
}

uint32_t Kind(Hwnd hwnd) { return static_cast<uint32_t>(GetWindowLong(hwnd, GWL_STYLE)) & BS_TYPEMASK; }

bool IsPush(uint32_t kind) { return kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON || kind == BS_OWNERDRAW; }
bool IsRadio(uint32_t kind) { return kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON; }
bool IsCheck(uint32_t kind) {
  return kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_3STATE || kind == BS_AUTO3STATE;
}

void SetCheck(Hwnd hwnd, int check) {
  auto state = StateOf(hwnd);
  if (state->check == check) return;
  state->check = check;
  InvalidateRect(hwnd, nullptr, true);
}

// The siblings in the same group as the button: from the control that
// starts the group (WS_GROUP) up to the next one.
std::vector<Hwnd> GroupOf(Hwnd hwnd) {
  const std::vector<Hwnd> siblings = GetChildWindows(GetParent(hwnd));
  auto at = std::find(siblings.begin(), siblings.end(), hwnd);
  if (at == siblings.end()) return {hwnd};
  auto first = at;
  while (first != siblings.begin() && (GetWindowLong(*first, GWL_STYLE) & WS_GROUP) == 0) --first;
  auto last = at + 1;
  while (last != siblings.end() && (GetWindowLong(*last, GWL_STYLE) & WS_GROUP) == 0) ++last;
  return {first, last};
}

// What a click does: the automatic kinds change their check, then the
// parent hears BN_CLICKED.
void Click(Hwnd hwnd) {
  const uint32_t kind = Kind(hwnd);
  if (kind == BS_AUTOCHECKBOX) {
    SetCheck(hwnd, StateOf(hwnd)->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
  } else if (kind == BS_AUTO3STATE) {
    SetCheck(hwnd, (StateOf(hwnd)->check + 1) % 3);
  } else if (kind == BS_AUTORADIOBUTTON) {
    for (Hwnd other : GroupOf(hwnd)) {
      if (other != hwnd && GetClassName(other) == GetClassName(hwnd) && IsRadio(Kind(other)))
        SendMessage(other, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    SetCheck(hwnd, BST_CHECKED);
  }
  NotifyParent(hwnd, BN_CLICKED);
}

void PaintPush(Hwnd hwnd, DeviceContext& dc, const Rect& client, const ButtonState& state, bool isDefault) {
  const ColorRef ink = TextColor(hwnd, dc);
  const ColorRef face = GetSysColor(COLOR_BTNFACE);
  FillSolid(dc, client, state.pushed ? ink : face);
  Frame(dc, client, GetSysColor(COLOR_WINDOWFRAME), isDefault ? 2 : 1);
  dc.SetBkMode(kTransparent);
  dc.SetTextColor(state.pushed ? face : ink);
  Rect text = client;
  dc.DrawText(GetWindowText(hwnd), text, kDtCenter | kDtVCenter | kDtSingleLine);
  if (GetFocus() == hwnd) FocusFrame(dc, {client.left + 3, client.top + 3, client.right - 3, client.bottom - 3}, state.pushed ? face : ink);
}

void PaintMarked(Hwnd hwnd, DeviceContext& dc, const Rect& client, const ButtonState& state, uint32_t kind) {
  const ColorRef ink = TextColor(hwnd, dc);
  const ColorRef frame = IsWindowEnabled(hwnd) ? GetSysColor(COLOR_WINDOWFRAME) : GetSysColor(COLOR_GRAYTEXT);
  const bool textLeft = (GetWindowLong(hwnd, GWL_STYLE) & BS_LEFTTEXT) != 0;
  const int markTop = client.top + (client.Height() - kMarkSize) / 2;
  const int markLeft = textLeft ? client.right - kMarkSize : client.left;
  const Rect mark{markLeft, markTop, markLeft + kMarkSize, markTop + kMarkSize};
  if (IsRadio(kind)) {
    dc.SelectPen(Pen::Create(kPsSolid, 1, frame));
    dc.SelectBrush(Brush::CreateSolid(state.pushed ? GetSysColor(COLOR_SCROLLBAR) : GetSysColor(COLOR_WINDOW)));
    dc.Ellipse(mark);
    if (state.check == BST_CHECKED) {
      dc.SelectPen(Pen::Create(kPsSolid, 1, ink));
      dc.SelectBrush(Brush::CreateSolid(ink));
      dc.Ellipse({mark.left + 4, mark.top + 4, mark.right - 4, mark.bottom - 4});
    }
  } else {
    FillSolid(dc, mark, state.pushed || state.check == BST_INDETERMINATE ? GetSysColor(COLOR_SCROLLBAR)
                                                                          : GetSysColor(COLOR_WINDOW));
    Frame(dc, mark, frame);
    if (state.check == BST_CHECKED || state.check == BST_INDETERMINATE) {
      dc.SelectPen(Pen::Create(kPsSolid, 2, state.check == BST_CHECKED ? ink : GetSysColor(COLOR_GRAYTEXT)));
      const Point tick[] = {{mark.left + 3, mark.top + 6}, {mark.left + 5, mark.top + 9}, {mark.left + 10, mark.top + 3}};
      dc.Polyline(tick);
    }
  }
  Rect text = textLeft ? Rect{client.left, client.top, mark.left - kMarkGap, client.bottom}
                       : Rect{mark.right + kMarkGap, client.top, client.right, client.bottom};
  dc.SetBkMode(kTransparent);
  dc.SetTextColor(ink);
  const bool multiline = (GetWindowLong(hwnd, GWL_STYLE) & BS_MULTILINE) != 0;
  const WString label = GetWindowText(hwnd);
  if (GetFocus() == hwnd && !label.empty()) {
    Rect extent = text;
    dc.DrawText(label, extent, kDtCalcRect | (multiline ? kDtWordBreak : kDtSingleLine));
    const int top = text.top + (text.Height() - extent.Height()) / 2;
    FocusFrame(dc, {text.left - 2, top - 1, std::min(text.right, extent.right + 2), top + extent.Height() + 1}, ink);
  }
  dc.DrawText(label, text, kDtVCenter | (multiline ? kDtWordBreak : kDtSingleLine));
}

void PaintGroup(Hwnd hwnd, DeviceContext& dc, const Rect& client) {
  const WString title = GetWindowText(hwnd);
  const int lineY = client.top + LineHeight(hwnd) / 2;
  const ColorRef line = GetSysColor(COLOR_BTNSHADOW);
  Frame(dc, {client.left, lineY, client.right, client.bottom}, line);
  if (title.empty()) return;
  Rect text{client.left + 6, client.top, client.right - 6, client.top + LineHeight(hwnd)};
  const int width = TextWidth(dc, title);
  FillSolid(dc, {text.left - 2, text.top, std::min(text.right, text.left + width + 2), text.bottom}, dc.BkColor());
  dc.SetBkMode(kTransparent);
  dc.SetTextColor(TextColor(hwnd, dc));
  dc.DrawText(title, text, kDtSingleLine);
}

void Paint(Hwnd hwnd) {
  PaintStruct ps;
  DeviceContext* dc = BeginPaint(hwnd, &ps);
  if (dc == nullptr) return;
  Rect client;
  GetClientRect(hwnd, &client);
  const auto state = StateOf(hwnd);
  const uint32_t kind = Kind(hwnd);
  const Brush& background = PrepareDc(hwnd, *dc, WM_CTLCOLORBTN);
  if (IsPush(kind)) {
    PaintPush(hwnd, *dc, client, *state, kind == BS_DEFPUSHBUTTON);
  } else {
    dc->FillRect(client, background);
    if (kind == BS_GROUPBOX) {
      PaintGroup(hwnd, *dc, client);
    } else {
      PaintMarked(hwnd, *dc, client, *state, kind);
    }
  }
  EndPaint(hwnd, &ps);
}

void SetPushed(Hwnd hwnd, bool pushed) {
  auto state = StateOf(hwnd);
  if (state->pushed == pushed) return;
  state->pushed = pushed;
  InvalidateRect(hwnd, nullptr, true);
}

}  // namespace

LResult ButtonProcedure(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam) {
  switch (message) {
    case WM_CREATE:
      StateOf(hwnd);
      return 0;
    case WM_PAINT:
      Paint(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // painting covers the whole button
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (Kind(hwnd) == BS_GROUPBOX) return 0;
      SetFocus(hwnd);
      SetCapture(hwnd);
      StateOf(hwnd)->tracking = true;
      SetPushed(hwnd, true);
      return 0;
    case WM_MOUSEMOVE:
      if (StateOf(hwnd)->tracking) {
        Rect client;
        GetClientRect(hwnd, &client);
        SetPushed(hwnd, client.Contains(PointFromLParam(lParam)));
      }
      return 0;
    case WM_LBUTTONUP: {
      auto state = StateOf(hwnd);
      if (!state->tracking) return 0;
      const bool inside = state->pushed;
      state->tracking = false;
      SetPushed(hwnd, false);
      ReleaseCapture();
      if (inside) Click(hwnd);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (HwndFromParam(lParam) != hwnd) {
        StateOf(hwnd)->tracking = false;
        SetPushed(hwnd, false);
      }
      return 0;
    case WM_CHAR:
      if (wParam == u' ' && Kind(hwnd) != BS_GROUPBOX) Click(hwnd);
      return 0;
    case BM_CLICK:
      if (IsWindowEnabled(hwnd)) Click(hwnd);
      return 0;
    case BM_GETCHECK:
      return StateOf(hwnd)->check;
    case BM_SETCHECK: {
      const uint32_t kind = Kind(hwnd);
      const int check = static_cast<int>(wParam);
      if (IsRadio(kind) || IsCheck(kind)) {
        const bool threeState = kind == BS_3STATE || kind == BS_AUTO3STATE;
        SetCheck(hwnd, check == BST_INDETERMINATE && !threeState ? BST_CHECKED : std::clamp(check, 0, 2));
      }
      return 0;
    }
    case BM_GETSTATE: {
      auto state = StateOf(hwnd);
      return state->check | (state->pushed ? BST_PUSHED : 0);
    }
    case BM_SETSTATE:
      SetPushed(hwnd, wParam != 0);
      return 0;
    case BM_SETSTYLE: {
      const uint32_t style = static_cast<uint32_t>(GetWindowLong(hwnd, GWL_STYLE));
      SetWindowLong(hwnd, GWL_STYLE, static_cast<intptr_t>((style & ~0xFFFFu) | (wParam & 0xFFFF)));
      if (lParam != 0) InvalidateRect(hwnd, nullptr, true);
      return 0;
    }
    case WM_GETDLGCODE: {
      const uint32_t kind = Kind(hwnd);
      if (kind == BS_GROUPBOX) return DLGC_STATIC;
      if (kind == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
      if (IsPush(kind)) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
      if (IsRadio(kind)) return DLGC_BUTTON | DLGC_RADIOBUTTON;
      return DLGC_BUTTON;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, true);
      return 0;
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

}  // namespace platform::controls
