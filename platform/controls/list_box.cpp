// List boxes: a column of entries, one selected.

#include <algorithm>

#include "platform/controls/control_paint.h"
#include "platform/controls/control_procedures.h"
#include "platform/controls/controls.h"
#include "platform/controls/list_items.h"
#include "platform/windows/default_window_procedure.h"
#include "platform/windows/focus.h"
#include "platform/windows/paint.h"
#include "platform/windows/system_colors.h"
#include "platform/windows/window.h"
#include "platform/windows/window_messages.h"
#include "platform/windows/window_styles.h"

namespace platform::controls {

namespace {

constexpr int kItemPadding = 2;

struct ListBoxState {
  ListItems items;
  int top = 0;  // the first entry shown
};

std::shared_ptr<ListBoxState> StateOf(Hwnd hwnd) {
  auto state = WindowClassState<ListBoxState>(hwnd);
  if (!state) {
    state = std::make_shared<ListBoxState>();
    SetWindowClassState(hwnd, state);
  }
  return state;
}

uint32_t Style(Hwnd hwnd) { return static_cast<uint32_t>(GetWindowLong(hwnd, GWL_STYLE)); }
int ItemHeight(Hwnd hwnd) { return LineHeight(hwnd) + kItemPadding; }

int VisibleCount(Hwnd hwnd) {
  Rect client;
  GetClientRect(hwnd, &client);
  return std::max(1, client.Height() / ItemHeight(hwnd));
}

void ShowSelection(Hwnd hwnd, ListBoxState& s) {
  const int sel = s.items.Selection();
  if (sel < 0) return;
  const int visible = VisibleCount(hwnd);
  if (sel < s.top) s.top = sel;
  if (sel >= s.top + visible) s.top = sel - visible + 1;
}

void Select(Hwnd hwnd, ListBoxState& s, int index, bool notify) {
  if (index == s.items.Selection()) return;
  s.items.Select(index);
  ShowSelection(hwnd, s);
  InvalidateRect(hwnd, nullptr, true);
  if (notify && (Style(hwnd) & LBS_NOTIFY) != 0) NotifyParent(hwnd, LBN_SELCHANGE);
}

LResult CopyText(const ListItems& items, int index, LParam buffer) {
  if (!items.Valid(index) || buffer == 0) return LB_ERR;
  const WString& text = items.At(index);
  auto* out = reinterpret_cast<char16_t*>(buffer);
  std::copy(text.begin(), text.end(), out);
  out[text.size()] = 0;
  return static_cast<LResult>(text.size());
}

void Paint(Hwnd hwnd) {
  PaintStruct ps;
  DeviceContext* dc = BeginPaint(hwnd, &ps);
  if (dc == nullptr) return;
  const auto s = StateOf(hwnd);
  const Brush& background = PrepareDc(hwnd, *dc, WM_CTLCOLORLISTBOX);
  Rect client;
  GetClientRect(hwnd, &client);
  dc->FillRect(client, background);
  dc->SetBkMode(kTransparent);
  const ColorRef ink = TextColor(hwnd, *dc);
  const int height = ItemHeight(hwnd);
  for (int i = s->top, y = client.top; i < s->items.Count() && y < client.bottom; ++i, y += height) {
    Rect row{client.left, y, client.right, y + height};
    const bool selected = i == s->items.Selection();
    if (selected) FillSolid(*dc, row, GetSysColor(COLOR_HIGHLIGHT));
    dc->SetTextColor(selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : ink);
    Rect text{row.left + 2, row.top, row.right - 2, row.bottom};
    dc->DrawText(s->items.At(i), text, kDtSingleLine | kDtVCenter | kDtNoPrefix);
  }
  EndPaint(hwnd, &ps);
}

}  // namespace

LResult ListBoxProcedure(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam) {
  switch (message) {
    case WM_CREATE:
      StateOf(hwnd);
      return 0;
    case WM_PAINT:
      Paint(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN: {
      SetFocus(hwnd);
      auto s = StateOf(hwnd);
      const int index = s->top + PointFromLParam(lParam).y / ItemHeight(hwnd);
      if (s->items.Valid(index)) Select(hwnd, *s, index, true);
      return 0;
    }
    case WM_KEYDOWN: {
      auto s = StateOf(hwnd);
      const int count = s->items.Count();
      if (count == 0) return 0;
      int sel = s->items.Selection();
      switch (wParam) {
        case VK_UP: sel = std::max(0, sel - 1); break;
        case VK_DOWN: sel = std::min(count - 1, sel + 1); break;
        case VK_HOME: sel = 0; break;
        case VK_END: sel = count - 1; break;
        default: return 0;
      }
      Select(hwnd, *s, sel, true);
      return 0;
    }
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SIZE:
      InvalidateRect(hwnd, nullptr, true);
      return 0;
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
      const auto* text = reinterpret_cast<const char16_t*>(lParam);
      auto s = StateOf(hwnd);
      const WStringView view = text == nullptr ? WStringView() : WStringView(text);
      const int at = message == LB_ADDSTRING ? s->items.Add(view, (Style(hwnd) & LBS_SORT) != 0)
                                              : s->items.Insert(static_cast<int>(static_cast<intptr_t>(wParam)), view);
      InvalidateRect(hwnd, nullptr, true);
      return at < 0 ? LB_ERR : at;
    }
    case LB_DELETESTRING: {
      const int left = StateOf(hwnd)->items.Delete(static_cast<int>(wParam));
      InvalidateRect(hwnd, nullptr, true);
      return left < 0 ? LB_ERR : left;
    }
    case LB_RESETCONTENT: {
      auto s = StateOf(hwnd);
      s->items.Clear();
      s->top = 0;
      InvalidateRect(hwnd, nullptr, true);
      return 0;
    }
    case LB_SETCURSEL: {
      auto s = StateOf(hwnd);
      const int index = static_cast<int>(static_cast<intptr_t>(wParam));
      Select(hwnd, *s, s->items.Valid(index) ? index : ListItems::kNone, false);
      return s->items.Valid(index) ? index : LB_ERR;
    }
    case LB_GETCURSEL:
      return StateOf(hwnd)->items.Selection();
    case LB_GETTEXT:
      return CopyText(StateOf(hwnd)->items, static_cast<int>(wParam), lParam);
    case LB_GETTEXTLEN: {
      const auto s = StateOf(hwnd);
      const int index = static_cast<int>(wParam);
      return s->items.Valid(index) ? static_cast<LResult>(s->items.At(index).size()) : LB_ERR;
    }
    case LB_GETCOUNT:
      return StateOf(hwnd)->items.Count();
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
    case LB_SELECTSTRING: {
      const auto* text = reinterpret_cast<const char16_t*>(lParam);
      auto s = StateOf(hwnd);
      const int found = s->items.Find(static_cast<int>(static_cast<intptr_t>(wParam)),
                                      text == nullptr ? WStringView() : WStringView(text),
                                      message == LB_FINDSTRINGEXACT);
      if (found >= 0 && message == LB_SELECTSTRING) Select(hwnd, *s, found, false);
      return found < 0 ? LB_ERR : found;
    }
    case kPickEntryMessage: {
      auto s = StateOf(hwnd);
      const int index = static_cast<int>(static_cast<intptr_t>(wParam));
      if (!s->items.Valid(index)) return LB_ERR;
      SetFocus(hwnd);
      Select(hwnd, *s, index, true);
      return index;
    }
    case LB_GETTOPINDEX:
      return StateOf(hwnd)->top;
    case LB_SETTOPINDEX: {
      auto s = StateOf(hwnd);
      const int index = static_cast<int>(wParam);
      if (!s->items.Valid(index)) return LB_ERR;
      s->top = index;
      InvalidateRect(hwnd, nullptr, true);
      return 0;
    }
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

}  // namespace platform::controls
