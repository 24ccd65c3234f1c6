// Edit fields: text with a limit, a selection and a caret, typing and the
// editing keys, and the notifications of a change.

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

constexpr int kMargin = 2;
constexpr char16_t kPasswordChar = u'*';

struct EditState {
  WString text;
  int anchor = 0;  // where the selection began
  int caret = 0;   // where it ends: the caret
  int limit = kDefaultEditLimit;
  bool modified = false;
  bool focused = false;
  int scroll = 0;  // the first character shown on a single line
};

std::shared_ptr<EditState> StateOf(Hwnd hwnd) {
  auto state = WindowClassState<EditState>(hwnd);
  if (!state) {
    state = std::make_shared<EditState>();
    SetWindowClassState(hwnd, state);
  }
  return state;
}

uint32_t Style(Hwnd hwnd) { return static_cast<uint32_t>(GetWindowLong(hwnd, GWL_STYLE)); }
int Length(const EditState& s) { return static_cast<int>(s.text.size()); }
int SelStart(const EditState& s) { return std::min(s.anchor, s.caret); }
int SelEnd(const EditState& s) { return std::max(s.anchor, s.caret); }

WString Shown(Hwnd hwnd, const EditState& s) {
  if ((Style(hwnd) & ES_PASSWORD) != 0) return WString(s.text.size(), kPasswordChar);
  return s.text;
}

// A context with the field's font, to measure with.
DeviceContext MeasuringDc(Hwnd hwnd) {
  DeviceContext dc;
  dc.SelectFont(GetWindowFont(hwnd));
  return dc;
}

// Scrolls a single line so that the caret is in view.
void ScrollToCaret(Hwnd hwnd, EditState& s) {
  if ((Style(hwnd) & ES_MULTILINE) != 0) return;
  Rect client;
  GetClientRect(hwnd, &client);
  const int room = std::max(1, client.Width() - 2 * kMargin);
  const WString shown = Shown(hwnd, s);
  const DeviceContext dc = MeasuringDc(hwnd);
  s.scroll = std::clamp(s.scroll, 0, Length(s));
  if (s.caret < s.scroll) s.scroll = s.caret;
  while (s.scroll < s.caret &&
         TextWidth(dc, WStringView(shown).substr(static_cast<size_t>(s.scroll),
                                                 static_cast<size_t>(s.caret - s.scroll))) > room)
    ++s.scroll;
}

void Changed(Hwnd hwnd) {
  InvalidateRect(hwnd, nullptr, true);
  NotifyParent(hwnd, EN_UPDATE);
  NotifyParent(hwnd, EN_CHANGE);
}

// Puts text in place of the selection, as far as the limit lets it; the
// caret follows the new text. Returns false when nothing could go in.
bool ReplaceSelection(Hwnd hwnd, EditState& s, WStringView insert, bool byTyping) {
  const int start = SelStart(s);
  const int end = SelEnd(s);
  const int room = s.limit - (Length(s) - (end - start));
  WString piece(insert.substr(0, static_cast<size_t>(std::max(0, std::min<int>(room, static_cast<int>(insert.size()))))));
  if (static_cast<int>(piece.size()) < static_cast<int>(insert.size())) {
    NotifyParent(hwnd, EN_MAXTEXT);
    if (byTyping && piece.empty()) return false;
  }
  const uint32_t style = Style(hwnd);
  if ((style & ES_UPPERCASE) != 0) piece = ToUpper(piece);
  if ((style & ES_LOWERCASE) != 0) piece = ToLower(piece);
  s.text.replace(static_cast<size_t>(start), static_cast<size_t>(end - start), piece);
  s.anchor = s.caret = start + static_cast<int>(piece.size());
  s.modified = true;
  ScrollToCaret(hwnd, s);
  return true;
}

void SetSelection(Hwnd hwnd, EditState& s, intptr_t start, intptr_t end) {
  const int length = Length(s);
  if (start < 0) {
    s.anchor = s.caret;  // no selection; the caret stays
  } else {
    if (end < 0 || end > length) end = length;
    s.anchor = static_cast<int>(std::min<intptr_t>(start, length));
    s.caret = static_cast<int>(end);
  }
  InvalidateRect(hwnd, nullptr, true);
}

void Character(Hwnd hwnd, EditState& s, char16_t ch) {
  const uint32_t style = Style(hwnd);
  if ((style & ES_READONLY) != 0) return;
  if (ch == u'\b') {
    if (SelStart(s) == SelEnd(s)) {
      if (s.caret == 0) return;
      s.anchor = s.caret - 1;
    }
    ReplaceSelection(hwnd, s, u"", true);
    Changed(hwnd);
    return;
  }
  const bool newline = ch == u'\r' && (style & ES_MULTILINE) != 0;
  if (ch < u' ' && !newline) return;
  if ((style & ES_NUMBER) != 0 && (ch < u'0' || ch > u'9')) return;
  const char16_t typed[] = {newline ? u'\n' : ch, 0};
  if (ReplaceSelection(hwnd, s, typed, true)) Changed(hwnd);
}

void Key(Hwnd hwnd, EditState& s, uint32_t key) {
  switch (key) {
    case VK_LEFT: s.caret = std::max(0, s.caret - 1); break;
    case VK_RIGHT: s.caret = std::min(Length(s), s.caret + 1); break;
    case VK_HOME: s.caret = 0; break;
    case VK_END: s.caret = Length(s); break;
    case VK_DELETE:
      if ((Style(hwnd) & ES_READONLY) != 0) return;
      if (SelStart(s) == SelEnd(s)) {
        if (s.caret == Length(s)) return;
        s.anchor = s.caret + 1;
      }
      ReplaceSelection(hwnd, s, u"", true);
      Changed(hwnd);
      return;
    default: return;
  }
  s.anchor = s.caret;
  ScrollToCaret(hwnd, s);
  InvalidateRect(hwnd, nullptr, true);
}

// The character position nearest to x on a single line.
int PositionAt(Hwnd hwnd, const EditState& s, int x) {
  const DeviceContext dc = MeasuringDc(hwnd);
  const WString shown = Shown(hwnd, s);
  int pos = s.scroll;
  int left = kMargin;
  while (pos < Length(s)) {
    const int w = TextWidth(dc, WStringView(shown).substr(static_cast<size_t>(pos), 1));
    if (x < left + w / 2) break;
    left += w;
    ++pos;
  }
  return pos;
}

void Paint(Hwnd hwnd) {
  PaintStruct ps;
  DeviceContext* dc = BeginPaint(hwnd, &ps);
  if (dc == nullptr) return;
  const auto s = StateOf(hwnd);
  const uint32_t style = Style(hwnd);
  const bool plain = (style & ES_READONLY) != 0 || !IsWindowEnabled(hwnd);
  const Brush& background = PrepareDc(hwnd, *dc, plain ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
  Rect client;
  GetClientRect(hwnd, &client);
  dc->FillRect(client, background);
  dc->SetBkMode(kTransparent);
  const ColorRef ink = TextColor(hwnd, *dc);
  dc->SetTextColor(ink);
  const WString shown = Shown(hwnd, *s);
  if ((style & ES_MULTILINE) != 0) {
    Rect text{client.left + kMargin, client.top + 1, client.right - kMargin, client.bottom};
    dc->DrawText(shown, text, kDtWordBreak | kDtNoPrefix);
    EndPaint(hwnd, &ps);
    return;
  }
  const int line = LineHeight(hwnd);
  const int top = client.top + std::max(0, (client.Height() - line) / 2);
  int x = client.left + kMargin;
  const bool showSelection = s->focused || (style & ES_NOHIDESEL) != 0;
  const int selStart = showSelection ? SelStart(*s) : 0;
  const int selEnd = showSelection ? SelEnd(*s) : 0;
  // Three runs: before, inside and after the selection.
  const int bounds[] = {s->scroll, std::max(selStart, s->scroll), std::max(selEnd, s->scroll), Length(*s)};
  for (int run = 0; run < 3; ++run) {
    const int from = bounds[run];
    const int to = std::max(from, bounds[run + 1]);
    const WStringView piece = WStringView(shown).substr(static_cast<size_t>(from), static_cast<size_t>(to - from));
    if (piece.empty()) continue;
    const int width = TextWidth(*dc, piece);
    if (run == 1) FillSolid(*dc, {x, top, x + width, top + line}, GetSysColor(COLOR_HIGHLIGHT));
    dc->SetTextColor(run == 1 ? GetSysColor(COLOR_HIGHLIGHTTEXT) : ink);
    dc->TextOut(x, top, piece);
    x += width;
  }
  if (s->focused && selStart == selEnd && s->caret >= s->scroll) {
    const int caretX = client.left + kMargin +
                       TextWidth(*dc, WStringView(shown).substr(static_cast<size_t>(s->scroll),
                                                                static_cast<size_t>(s->caret - s->scroll)));
    FillSolid(*dc, {caretX, top, caretX + 1, top + line}, ink);
  }
  EndPaint(hwnd, &ps);
}

}  // namespace

LResult EditProcedure(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam) {
  switch (message) {
    case WM_CREATE: {
      auto s = StateOf(hwnd);
      const auto* cs = reinterpret_cast<const CreateStruct*>(lParam);
      if (cs != nullptr) s->text = cs->text.substr(0, static_cast<size_t>(s->limit));
      return 0;
    }
    case WM_PAINT:
      Paint(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETTEXT: {
      auto s = StateOf(hwnd);
      const auto* text = reinterpret_cast<const char16_t*>(lParam);
      s->text = text == nullptr ? WString() : WString(text);
      s->anchor = s->caret = 0;
      s->scroll = 0;
      s->modified = false;
      Changed(hwnd);
      return 1;
    }
    case WM_GETTEXT: {
      auto* buffer = reinterpret_cast<char16_t*>(lParam);
      if (buffer == nullptr || wParam == 0) return 0;
      const auto s = StateOf(hwnd);
      const size_t n = std::min<size_t>(s->text.size(), wParam - 1);
      std::copy_n(s->text.data(), n, buffer);
      buffer[n] = 0;
      return static_cast<LResult>(n);
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LResult>(StateOf(hwnd)->text.size());
    case WM_CHAR:
      Character(hwnd, *StateOf(hwnd), static_cast<char16_t>(wParam));
      return 0;
    case WM_KEYDOWN:
      Key(hwnd, *StateOf(hwnd), static_cast<uint32_t>(wParam));
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      SetFocus(hwnd);
      auto s = StateOf(hwnd);
      s->anchor = s->caret = PositionAt(hwnd, *s, PointFromLParam(lParam).x);
      InvalidateRect(hwnd, nullptr, true);
      return 0;
    }
    case WM_SETFOCUS:
      StateOf(hwnd)->focused = true;
      InvalidateRect(hwnd, nullptr, true);
      NotifyParent(hwnd, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      StateOf(hwnd)->focused = false;
      InvalidateRect(hwnd, nullptr, true);
      NotifyParent(hwnd, EN_KILLFOCUS);
      return 0;
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, true);
      return 0;
    case WM_SIZE:
      ScrollToCaret(hwnd, *StateOf(hwnd));
      return 0;
    case EM_GETSEL: {
      const auto s = StateOf(hwnd);
      if (auto* start = reinterpret_cast<uint32_t*>(wParam)) *start = static_cast<uint32_t>(SelStart(*s));
      if (auto* end = reinterpret_cast<uint32_t*>(lParam)) *end = static_cast<uint32_t>(SelEnd(*s));
      return static_cast<LResult>(MakeWParam(static_cast<uint16_t>(std::min(SelStart(*s), 0xFFFF)),
                                             static_cast<uint16_t>(std::min(SelEnd(*s), 0xFFFF))));
    }
    case EM_SETSEL:
      SetSelection(hwnd, *StateOf(hwnd), static_cast<intptr_t>(wParam), lParam);
      return 0;
    case EM_SCROLLCARET:
      ScrollToCaret(hwnd, *StateOf(hwnd));
      InvalidateRect(hwnd, nullptr, true);
      return 1;
    case EM_REPLACESEL: {
      const auto* text = reinterpret_cast<const char16_t*>(lParam);
      auto s = StateOf(hwnd);
      ReplaceSelection(hwnd, *s, text == nullptr ? u"" : text, false);
      Changed(hwnd);
      return 0;
    }
    case EM_LIMITTEXT: {
      const intptr_t limit = static_cast<intptr_t>(wParam);
      StateOf(hwnd)->limit = limit <= 0 || limit > kMaxEditLimit ? kMaxEditLimit : static_cast<int>(limit);
      return 0;
    }
    case EM_GETLIMITTEXT:
      return StateOf(hwnd)->limit;
    case EM_GETMODIFY:
      return StateOf(hwnd)->modified ? 1 : 0;
    case EM_SETMODIFY:
      StateOf(hwnd)->modified = wParam != 0;
      return 0;
    case EM_SETREADONLY: {
      const uint32_t style = Style(hwnd);
      SetWindowLong(hwnd, GWL_STYLE, static_cast<intptr_t>(wParam != 0 ? style | ES_READONLY : style & ~ES_READONLY));
      return 1;
    }
    case WM_GETDLGCODE: {
      LResult code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
      if ((Style(hwnd) & ES_MULTILINE) != 0 && (Style(hwnd) & ES_WANTRETURN) != 0) code |= DLGC_WANTALLKEYS;
      return code;
    }
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

}  // namespace platform::controls
