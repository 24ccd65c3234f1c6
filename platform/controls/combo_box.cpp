// Combo boxes: a field with a list that drops down below it. A drop-down
// list shows its selected entry; a drop-down combo box has a text of its own
// that typing changes and choosing an entry replaces.
//
// The height a combo box is created or sized with is the height of the
// field and the dropped list together; the window itself keeps the field's
// height, as on the handheld.

#include <algorithm>

#include "platform/controls/combo_box.h"
#include "platform/controls/control_paint.h"
#include "platform/controls/control_procedures.h"
#include "platform/controls/controls.h"
#include "platform/controls/list_items.h"
#include "platform/windows/default_window_procedure.h"
#include "platform/windows/focus.h"
#include "platform/windows/messages.h"
#include "platform/windows/paint.h"
#include "platform/windows/screen.h"
#include "platform/windows/system_colors.h"
#include "platform/windows/system_metrics.h"
#include "platform/windows/window.h"
#include "platform/windows/window_messages.h"
#include "platform/windows/window_styles.h"

namespace platform::controls {

namespace {

constexpr int kFieldPadding = 6;
constexpr int kItemPadding = 2;
constexpr int kTextMargin = 3;

struct ComboState {
  ListItems items;
  WString edit;  // the field's text of a drop-down combo box
  int editLimit = kDefaultEditLimit;
  bool dropped = false;
  int droppedHeight = 0;  // field and list, as the combo box was sized
  int top = 0;            // the first entry the dropped list shows
  bool focused = false;
  bool sizing = false;
  int fieldHeight = -1;  // the height the combo box gave itself last
};

std::shared_ptr<ComboState> StateOf(Hwnd hwnd) {
  auto state = WindowClassState<ComboState>(hwnd);
  if (!state) {
    state = std::make_shared<ComboState>();
    SetWindowClassState(hwnd, state);
  }
  return state;
}

uint32_t Style(Hwnd hwnd) { return static_cast<uint32_t>(GetWindowLong(hwnd, GWL_STYLE)); }
bool IsDropList(Hwnd hwnd) { return (Style(hwnd) & CBS_TYPEMASK) == CBS_DROPDOWNLIST; }
int FieldHeight(Hwnd hwnd) { return LineHeight(hwnd) + kFieldPadding; }
int ItemHeight(Hwnd hwnd) { return LineHeight(hwnd) + kItemPadding; }

// Keeps the window at the field's height and remembers a height it was
// given by someone else as that of field and list.
void FitToField(Hwnd hwnd) {
  auto s = StateOf(hwnd);
  if (s->sizing) return;
  Rect window;
  GetWindowRect(hwnd, &window);
  if (window.Height() != s->fieldHeight) s->droppedHeight = window.Height();
  s->fieldHeight = FieldHeight(hwnd);
  if (window.Height() == s->fieldHeight) return;
  s->sizing = true;
  SetWindowPos(hwnd, kNoWindow, 0, 0, window.Width(), s->fieldHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  s->sizing = false;
}

// Where the dropped list lies on the screen: below the field, or above it
// when the working area has no room below.
Rect ListOnScreen(Hwnd hwnd, const ComboState& s) {
  Rect field;
  GetWindowRect(hwnd, &field);
  const int itemHeight = ItemHeight(hwnd);
  const int wanted = std::max(itemHeight, s.droppedHeight - field.Height());
  const int fits = std::max(1, std::min(s.items.Count(), wanted / itemHeight)) * itemHeight + 2;
  const Rect work = GetWorkArea();
  if (field.bottom + fits <= work.bottom || field.top - fits < work.top)
    return {field.left, field.bottom, field.right, field.bottom + fits};
  return {field.left, field.top - fits, field.right, field.top};
}

int ListRows(Hwnd hwnd, const ComboState& s) { return std::max(1, (ListOnScreen(hwnd, s).Height() - 2) / ItemHeight(hwnd)); }

void KeepSelectionInList(Hwnd hwnd, ComboState& s) {
  const int sel = s.items.Selection();
  const int rows = ListRows(hwnd, s);
  if (sel >= 0 && sel < s.top) s.top = sel;
  if (sel >= s.top + rows) s.top = sel - rows + 1;
  s.top = std::clamp(s.top, 0, std::max(0, s.items.Count() - rows));
}

void Select(Hwnd hwnd, ComboState& s, int index) {
  s.items.Select(index);
  if (!IsDropList(hwnd)) s.edit = s.items.Valid(index) ? s.items.At(index) : WString();
  KeepSelectionInList(hwnd, s);
  InvalidateRect(hwnd, nullptr, true);
}

void ShowList(Hwnd hwnd, bool show) {
  auto s = StateOf(hwnd);
  if (s->dropped == show) return;
  if (show) {
    NotifyParent(hwnd, CBN_DROPDOWN);
    s->dropped = true;
    KeepSelectionInList(hwnd, *s);
    SetCapture(hwnd);
  } else {
    s->dropped = false;
    if (GetCapture() == hwnd) ReleaseCapture();
    NotifyParent(hwnd, CBN_CLOSEUP);
  }
  InvalidateRect(hwnd, nullptr, true);
}

void PenDown(Hwnd hwnd, Point at) {
  auto s = StateOf(hwnd);
  if (!s->dropped) {
    SetFocus(hwnd);
    ShowList(hwnd, true);
    return;
  }
  Point screen = at;
  ClientToScreen(hwnd, &screen);
  const Rect list = ListOnScreen(hwnd, *s);
  if (list.Contains(screen)) {
    const int index = s->top + (screen.y - list.top - 1) / ItemHeight(hwnd);
    if (s->items.Valid(index)) {
      const bool changed = index != s->items.Selection();
      Select(hwnd, *s, index);
      if (changed) NotifyParent(hwnd, CBN_SELCHANGE);
      NotifyParent(hwnd, CBN_SELENDOK);
      ShowList(hwnd, false);
      return;
    }
  }
  NotifyParent(hwnd, CBN_SELENDCANCEL);
  ShowList(hwnd, false);
}

void Character(Hwnd hwnd, char16_t ch) {
  auto s = StateOf(hwnd);
  if (IsDropList(hwnd)) {
    if (ch < u' ') return;
    const int found = s->items.Find(s->items.Selection(), WStringView(&ch, 1), false);
    if (found >= 0 && found != s->items.Selection()) {
      Select(hwnd, *s, found);
      NotifyParent(hwnd, CBN_SELCHANGE);
    }
    return;
  }
  if (ch == u'\b') {
    if (s->edit.empty()) return;
    s->edit.pop_back();
  } else if (ch >= u' ') {
    if (static_cast<int>(s->edit.size()) >= s->editLimit) return;
    s->edit.push_back(ch);
  } else {
    return;
  }
  InvalidateRect(hwnd, nullptr, true);
  NotifyParent(hwnd, CBN_EDITUPDATE);
  NotifyParent(hwnd, CBN_EDITCHANGE);
}

WString FieldText(Hwnd hwnd, const ComboState& s) {
  if (!IsDropList(hwnd)) return s.edit;
  return s.items.Valid(s.items.Selection()) ? s.items.At(s.items.Selection()) : WString();
}

void Paint(Hwnd hwnd) {
  PaintStruct ps;
  DeviceContext* dc = BeginPaint(hwnd, &ps);
  if (dc == nullptr) return;
  const auto s = StateOf(hwnd);
  const Brush& background = PrepareDc(hwnd, *dc, WM_CTLCOLOREDIT);
  Rect client;
  GetClientRect(hwnd, &client);
  dc->FillRect(client, background);
  const ColorRef ink = TextColor(hwnd, *dc);
  const ColorRef frame = IsWindowEnabled(hwnd) ? GetSysColor(COLOR_WINDOWFRAME) : GetSysColor(COLOR_GRAYTEXT);
  const int arrowWidth = GetSystemMetrics(SM_CXVSCROLL);
  const Rect arrow{client.right - arrowWidth, client.top, client.right, client.bottom};
  Rect text{client.left + 1, client.top + 1, arrow.left, client.bottom - 1};
  if (s->focused && IsDropList(hwnd) && !s->dropped) {
    FillSolid(*dc, {text.left + 1, text.top + 1, text.right - 1, text.bottom - 1}, GetSysColor(COLOR_HIGHLIGHT));
    dc->SetTextColor(GetSysColor(COLOR_HIGHLIGHTTEXT));
  } else {
    dc->SetTextColor(ink);
  }
  dc->SetBkMode(kTransparent);
  text.left += kTextMargin;
  dc->DrawText(FieldText(hwnd, *s), text, kDtSingleLine | kDtVCenter | kDtNoPrefix);
  Frame(*dc, client, frame);
  FillSolid(*dc, {arrow.left, arrow.top, arrow.left + 1, arrow.bottom}, frame);
  Arrow(*dc, {arrow.left + 1, arrow.top, arrow.right, arrow.bottom}, ArrowDirection::Down, frame);
  EndPaint(hwnd, &ps);
}

LResult CopyItem(const ListItems& items, int index, LParam buffer) {
  if (!items.Valid(index) || buffer == 0) return CB_ERR;
  const WString& text = items.At(index);
  auto* out = reinterpret_cast<char16_t*>(buffer);
  std::copy(text.begin(), text.end(), out);
  out[text.size()] = 0;
  return static_cast<LResult>(text.size());
}

}  // namespace

LResult ComboBoxProcedure(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam) {
  switch (message) {
    case WM_CREATE: {
      auto s = StateOf(hwnd);
      if (const auto* cs = reinterpret_cast<const CreateStruct*>(lParam)) s->edit = cs->text;
      return 0;
    }
    case WM_SIZE:
    case WM_SETFONT: {
      const LResult r = message == WM_SETFONT ? DefWindowProc(hwnd, message, wParam, lParam) : 0;
      FitToField(hwnd);
      InvalidateRect(hwnd, nullptr, true);
      return r;
    }
    case WM_PAINT:
      Paint(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      PenDown(hwnd, PointFromLParam(lParam));
      return 0;
    case WM_CHAR:
      Character(hwnd, static_cast<char16_t>(wParam));
      return 0;
    case WM_KEYDOWN: {
      auto s = StateOf(hwnd);
      int sel = s->items.Selection();
      if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
        if (s->dropped) {
          NotifyParent(hwnd, wParam == VK_RETURN ? CBN_SELENDOK : CBN_SELENDCANCEL);
          ShowList(hwnd, false);
        }
        return 0;
      }
      if (wParam == VK_DOWN) sel = std::min(s->items.Count() - 1, sel + 1);
      if (wParam == VK_UP) sel = std::max(0, sel - 1);
      if (sel != s->items.Selection() && s->items.Valid(sel)) {
        Select(hwnd, *s, sel);
        NotifyParent(hwnd, CBN_SELCHANGE);
      }
      return 0;
    }
    case WM_SETFOCUS:
      StateOf(hwnd)->focused = true;
      InvalidateRect(hwnd, nullptr, true);
      NotifyParent(hwnd, CBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      StateOf(hwnd)->focused = false;
      if (StateOf(hwnd)->dropped) {
        NotifyParent(hwnd, CBN_SELENDCANCEL);
        ShowList(hwnd, false);
      }
      InvalidateRect(hwnd, nullptr, true);
      NotifyParent(hwnd, CBN_KILLFOCUS);
      return 0;
    case WM_CAPTURECHANGED:
      if (HwndFromParam(lParam) != hwnd && StateOf(hwnd)->dropped) {
        StateOf(hwnd)->dropped = false;
        InvalidateRect(hwnd, nullptr, true);
        NotifyParent(hwnd, CBN_CLOSEUP);
      }
      return 0;
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, true);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS | (StateOf(hwnd)->dropped ? DLGC_WANTALLKEYS : 0);
    case WM_SETTEXT: {
      if (IsDropList(hwnd)) return CB_ERR;
      const auto* text = reinterpret_cast<const char16_t*>(lParam);
      auto s = StateOf(hwnd);
      s->edit = text == nullptr ? WString() : WString(text);
      if (static_cast<int>(s->edit.size()) > s->editLimit) s->edit.resize(static_cast<size_t>(s->editLimit));
      InvalidateRect(hwnd, nullptr, true);
      return 1;
    }
    case WM_GETTEXT: {
      auto* buffer = reinterpret_cast<char16_t*>(lParam);
      if (buffer == nullptr || wParam == 0) return 0;
      const WString text = FieldText(hwnd, *StateOf(hwnd));
      const size_t n = std::min<size_t>(text.size(), wParam - 1);
      std::copy_n(text.data(), n, buffer);
      buffer[n] = 0;
      return static_cast<LResult>(n);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LResult>(FieldText(hwnd, *StateOf(hwnd)).size());
    case CB_ADDSTRING:
    case CB_INSERTSTRING: {
      const auto* text = reinterpret_cast<const char16_t*>(lParam);
      auto s = StateOf(hwnd);
      const WStringView view = text == nullptr ? WStringView() : WStringView(text);
      const int at = message == CB_ADDSTRING ? s->items.Add(view, (Style(hwnd) & CBS_SORT) != 0)
                                              : s->items.Insert(static_cast<int>(static_cast<intptr_t>(wParam)), view);
      InvalidateRect(hwnd, nullptr, true);
      return at < 0 ? CB_ERR : at;
    }
    case CB_DELETESTRING: {
      const int left = StateOf(hwnd)->items.Delete(static_cast<int>(wParam));
      InvalidateRect(hwnd, nullptr, true);
      return left < 0 ? CB_ERR : left;
    }
    case CB_RESETCONTENT: {
      auto s = StateOf(hwnd);
      s->items.Clear();
      s->top = 0;
      if (!IsDropList(hwnd)) s->edit.clear();
      InvalidateRect(hwnd, nullptr, true);
      return 0;
    }
    case CB_GETCOUNT:
      return StateOf(hwnd)->items.Count();
    case CB_GETCURSEL:
      return StateOf(hwnd)->items.Selection();
    case CB_SETCURSEL: {
      auto s = StateOf(hwnd);
      const int index = static_cast<int>(static_cast<intptr_t>(wParam));
      Select(hwnd, *s, s->items.Valid(index) ? index : ListItems::kNone);
      return s->items.Valid(index) ? index : CB_ERR;
    }
    case CB_GETLBTEXT:
      return CopyItem(StateOf(hwnd)->items, static_cast<int>(wParam), lParam);
    case CB_GETLBTEXTLEN: {
      const auto s = StateOf(hwnd);
      const int index = static_cast<int>(wParam);
      return s->items.Valid(index) ? static_cast<LResult>(s->items.At(index).size()) : CB_ERR;
    }
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
    case CB_SELECTSTRING: {
      const auto* text = reinterpret_cast<const char16_t*>(lParam);
      auto s = StateOf(hwnd);
      const int found = s->items.Find(static_cast<int>(static_cast<intptr_t>(wParam)),
                                      text == nullptr ? WStringView() : WStringView(text),
                                      message == CB_FINDSTRINGEXACT);
      if (found >= 0 && message == CB_SELECTSTRING) Select(hwnd, *s, found);
      return found < 0 ? CB_ERR : found;
    }
    case kPickEntryMessage: {
      auto s = StateOf(hwnd);
      const int index = static_cast<int>(static_cast<intptr_t>(wParam));
      if (!s->items.Valid(index)) return CB_ERR;
      SetFocus(hwnd);
      const bool changed = index != s->items.Selection();
      Select(hwnd, *s, index);
      if (changed) NotifyParent(hwnd, CBN_SELCHANGE);
      NotifyParent(hwnd, CBN_SELENDOK);
      if (s->dropped) {
        ShowList(hwnd, false);
      } else {
        NotifyParent(hwnd, CBN_CLOSEUP);
      }
      return index;
    }
    case CB_SHOWDROPDOWN:
      ShowList(hwnd, wParam != 0);
      return 1;
    case CB_GETDROPPEDSTATE:
      return StateOf(hwnd)->dropped ? 1 : 0;
    case CB_LIMITTEXT: {
      const intptr_t limit = static_cast<intptr_t>(wParam);
      StateOf(hwnd)->editLimit = limit <= 0 || limit > kMaxEditLimit ? kMaxEditLimit : static_cast<int>(limit);
      return 1;
    }
    case CB_GETEDITSEL: {
      const int length = static_cast<int>(FieldText(hwnd, *StateOf(hwnd)).size());
      return static_cast<LResult>(MakeWParam(static_cast<uint16_t>(std::min(length, 0xFFFF)),
                                             static_cast<uint16_t>(std::min(length, 0xFFFF))));
    }
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

}  // namespace platform::controls

namespace platform {

using controls::ArrowDirection;

bool PaintDroppedList(Hwnd hwnd, DeviceContext& screen) {
  if (GetClassName(hwnd) != kComboBoxClass || !IsWindowVisible(hwnd)) return false;
  const auto s = controls::StateOf(hwnd);
  if (!s->dropped) return false;
  const Rect list = controls::ListOnScreen(hwnd, *s);
  screen.SelectFont(GetWindowFont(hwnd));
  controls::FillSolid(screen, list, GetSysColor(COLOR_WINDOW));
  controls::Frame(screen, list, GetSysColor(COLOR_WINDOWFRAME));
  screen.SetBkMode(kTransparent);
  const int height = controls::ItemHeight(hwnd);
  int y = list.top + 1;
  for (int i = s->top; i < s->items.Count() && y + height <= list.bottom - 1; ++i, y += height) {
    const Rect row{list.left + 1, y, list.right - 1, y + height};
    const bool selected = i == s->items.Selection();
    if (selected) controls::FillSolid(screen, row, GetSysColor(COLOR_HIGHLIGHT));
    screen.SetTextColor(selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : GetSysColor(COLOR_WINDOWTEXT));
    Rect text{row.left + controls::kTextMargin, row.top, row.right - controls::kTextMargin, row.bottom};
    screen.DrawText(s->items.At(i), text, kDtSingleLine | kDtVCenter | kDtNoPrefix);
  }
  return true;
}

std::optional<Rect> DroppedListRect(Hwnd hwnd) {
  if (GetClassName(hwnd) != kComboBoxClass || !IsWindowVisible(hwnd)) return std::nullopt;
  const auto s = controls::StateOf(hwnd);
  if (!s->dropped) return std::nullopt;
  return controls::ListOnScreen(hwnd, *s);
}

}  // namespace platform
