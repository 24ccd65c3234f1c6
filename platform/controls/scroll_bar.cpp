// Scroll bars: a range, a position and a page, shown as two arrows and a
// thumb in a track. Like the handheld's, a scroll bar does not move by
// itself: it tells its parent what the pen asked for (WM_VSCROLL or
// WM_HSCROLL with the request and the bar's handle), and the parent sets
// the position.

#include <algorithm>

#include "platform/controls/control_paint.h"
#include "platform/controls/control_procedures.h"
#include "platform/controls/controls.h"
#include "platform/windows/default_window_procedure.h"
#include "platform/windows/focus.h"
#include "platform/windows/messages.h"
#include "platform/windows/paint.h"
#include "platform/windows/system_colors.h"
#include "platform/windows/system_metrics.h"
#include "platform/windows/window.h"
#include "platform/windows/window_messages.h"
#include "platform/windows/window_styles.h"

namespace platform::controls {

namespace {

struct ScrollState {
  int min = 0;
  int max = 100;
  unsigned page = 0;
  int pos = 0;
  bool tracking = false;  // the pen holds the thumb
  int trackPos = 0;
  int grabOffset = 0;     // where on the thumb the pen went down
};

std::shared_ptr<ScrollState> StateOf(Hwnd hwnd) {
  auto state = WindowClassState<ScrollState>(hwnd);
  if (!state) {
    state = std::make_shared<ScrollState>();
    SetWindowClassState(hwnd, state);
  }
  return state;
}

bool Vertical(Hwnd hwnd) { return (GetWindowLong(hwnd, GWL_STYLE) & SBS_VERT) != 0; }

// The highest position: the range's end less a page.
int Limit(const ScrollState& s) {
  return std::max(s.min, s.max - std::max(0, static_cast<int>(s.page) - 1));
}

int Clamp(const ScrollState& s, int pos) { return std::clamp(pos, s.min, Limit(s)); }

// The geometry along the bar: arrow length, track and thumb, in pixels from
// the bar's start.
struct Layout {
  int length = 0;
  int arrow = 0;
  int thumbStart = 0;
  int thumbLength = 0;
  int trackStart() const { return arrow; }
  int trackEnd() const { return length - arrow; }
};

Layout LayoutOf(Hwnd hwnd, const ScrollState& s, int pos) {
  Rect client;
  GetClientRect(hwnd, &client);
  Layout l;
  const bool vertical = Vertical(hwnd);
  l.length = vertical ? client.Height() : client.Width();
  l.arrow = std::min(GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL), l.length / 2);
  const int track = std::max(0, l.trackEnd() - l.trackStart());
  const int span = s.max - s.min + 1;
  const int minThumb = GetSystemMetrics(vertical ? SM_CYVTHUMB : SM_CXHTHUMB);
  l.thumbLength = s.page == 0 || span <= 0 ? minThumb
                                           : std::max(minThumb, static_cast<int>(static_cast<int64_t>(track) * s.page / span));
  l.thumbLength = std::min(l.thumbLength, track);
  const int range = Limit(s) - s.min;
  const int room = track - l.thumbLength;
  l.thumbStart = l.trackStart() + (range <= 0 ? 0 : static_cast<int>(static_cast<int64_t>(room) * (pos - s.min) / range));
  return l;
}

void Notify(Hwnd hwnd, uint16_t request, int pos) {
  const Hwnd parent = GetParent(hwnd);
  if (!parent) return;
  SendMessage(parent, Vertical(hwnd) ? WM_VSCROLL : WM_HSCROLL,
              MakeWParam(request, static_cast<uint16_t>(pos)), ToLParam(hwnd));
}

int Along(Hwnd hwnd, LParam lParam) {
  const Point p = PointFromLParam(lParam);
  return Vertical(hwnd) ? p.y : p.x;
}

void PenDown(Hwnd hwnd, LParam lParam) {
  auto s = StateOf(hwnd);
  const int at = Along(hwnd, lParam);
  const Layout l = LayoutOf(hwnd, *s, s->pos);
  if (at < l.arrow) {
    Notify(hwnd, SB_LINEUP, s->pos);
  } else if (at >= l.trackEnd()) {
    Notify(hwnd, SB_LINEDOWN, s->pos);
  } else if (at < l.thumbStart) {
    Notify(hwnd, SB_PAGEUP, s->pos);
  } else if (at >= l.thumbStart + l.thumbLength) {
    Notify(hwnd, SB_PAGEDOWN, s->pos);
  } else {
    s->tracking = true;
    s->trackPos = s->pos;
    s->grabOffset = at - l.thumbStart;
    SetCapture(hwnd);
  }
}

void PenMove(Hwnd hwnd, LParam lParam) {
  auto s = StateOf(hwnd);
  if (!s->tracking) return;
  const Layout l = LayoutOf(hwnd, *s, s->pos);
  const int room = l.trackEnd() - l.trackStart() - l.thumbLength;
  const int offset = Along(hwnd, lParam) - s->grabOffset - l.trackStart();
  const int range = Limit(*s) - s->min;
  const int pos = room <= 0 ? s->min : s->min + static_cast<int>(static_cast<int64_t>(std::clamp(offset, 0, room)) * range / room);
  if (pos == s->trackPos) return;
  s->trackPos = pos;
  Notify(hwnd, SB_THUMBTRACK, pos);
}

void PenUp(Hwnd hwnd) {
  auto s = StateOf(hwnd);
  if (s->tracking) {
    s->tracking = false;
    ReleaseCapture();
    Notify(hwnd, SB_THUMBPOSITION, s->trackPos);
  }
  Notify(hwnd, SB_ENDSCROLL, s->pos);
}

void Paint(Hwnd hwnd) {
  PaintStruct ps;
  DeviceContext* dc = BeginPaint(hwnd, &ps);
  if (dc == nullptr) return;
  const auto s = StateOf(hwnd);
  const Brush& track = PrepareDc(hwnd, *dc, WM_CTLCOLORSCROLLBAR);
  Rect client;
  GetClientRect(hwnd, &client);
  dc->FillRect(client, track);
  const bool vertical = Vertical(hwnd);
  const Layout l = LayoutOf(hwnd, *s, s->tracking ? s->trackPos : s->pos);
  auto span = [&](int from, int to) {
    return vertical ? Rect{client.left, client.top + from, client.right, client.top + to}
                    : Rect{client.left + from, client.top, client.left + to, client.bottom};
  };
  const ColorRef frame = GetSysColor(COLOR_WINDOWFRAME);
  const ColorRef face = GetSysColor(COLOR_BTNFACE);
  const ColorRef mark = IsWindowEnabled(hwnd) ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_GRAYTEXT);
  const Rect first = span(0, l.arrow);
  const Rect last = span(l.length - l.arrow, l.length);
  for (const Rect& box : {first, last}) {
    FillSolid(*dc, box, face);
    Frame(*dc, box, frame);
  }
  Arrow(*dc, first, vertical ? ArrowDirection::Up : ArrowDirection::Left, mark);
  Arrow(*dc, last, vertical ? ArrowDirection::Down : ArrowDirection::Right, mark);
  if (IsWindowEnabled(hwnd) && Limit(*s) > s->min && l.thumbLength > 0) {
    const Rect thumb = span(l.thumbStart, l.thumbStart + l.thumbLength);
    FillSolid(*dc, thumb, GetSysColor(COLOR_BTNSHADOW));
    Frame(*dc, thumb, frame);
  }
  Frame(*dc, client, frame);
  EndPaint(hwnd, &ps);
}

// Sets what the mask names, keeps the position within the range, redraws
// when asked; returns the position.
int Apply(Hwnd hwnd, const ScrollInfo& info, bool redraw) {
  auto s = StateOf(hwnd);
  if ((info.mask & SIF_RANGE) != 0) {
    s->min = info.min;
    s->max = std::max(info.min, info.max);
  }
  if ((info.mask & SIF_PAGE) != 0) s->page = std::min<unsigned>(info.page, static_cast<unsigned>(s->max - s->min + 1));
  if ((info.mask & SIF_POS) != 0) s->pos = info.pos;
  s->pos = Clamp(*s, s->pos);
  if (redraw) InvalidateRect(hwnd, nullptr, true);
  return s->pos;
}

}  // namespace

LResult ScrollBarProcedure(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam) {
  switch (message) {
    case WM_CREATE:
      StateOf(hwnd);
      return 0;
    case WM_PAINT:
      Paint(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      PenDown(hwnd, lParam);
      return 0;
    case WM_MOUSEMOVE:
      PenMove(hwnd, lParam);
      InvalidateRect(hwnd, nullptr, true);
      return 0;
    case WM_LBUTTONUP:
      PenUp(hwnd);
      InvalidateRect(hwnd, nullptr, true);
      return 0;
    case WM_CAPTURECHANGED:
      StateOf(hwnd)->tracking = false;
      return 0;
    case WM_ENABLE:
    case WM_SIZE:
      InvalidateRect(hwnd, nullptr, true);
      return 0;
    case SBM_GETPOS:
      return StateOf(hwnd)->pos;
    case SBM_SETPOS: {
      const int old = StateOf(hwnd)->pos;
      ScrollInfo info;
      info.mask = SIF_POS;
      info.pos = static_cast<int>(static_cast<intptr_t>(wParam));
      Apply(hwnd, info, lParam != 0);
      return old;
    }
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW: {
      const int old = StateOf(hwnd)->pos;
      ScrollInfo info;
      info.mask = SIF_RANGE;
      info.min = static_cast<int>(static_cast<intptr_t>(wParam));
      info.max = static_cast<int>(lParam);
      Apply(hwnd, info, message == SBM_SETRANGEREDRAW);
      return old;
    }
    case SBM_GETRANGE: {
      const auto s = StateOf(hwnd);
      if (auto* min = reinterpret_cast<int*>(wParam)) *min = s->min;
      if (auto* max = reinterpret_cast<int*>(lParam)) *max = s->max;
      return 0;
    }
    case SBM_SETSCROLLINFO: {
      const auto* info = reinterpret_cast<const ScrollInfo*>(lParam);
      return info == nullptr ? 0 : Apply(hwnd, *info, wParam != 0);
    }
    case SBM_GETSCROLLINFO: {
      auto* info = reinterpret_cast<ScrollInfo*>(lParam);
      if (info == nullptr) return 0;
      const auto s = StateOf(hwnd);
      if ((info->mask & SIF_RANGE) != 0) {
        info->min = s->min;
        info->max = s->max;
      }
      if ((info->mask & SIF_PAGE) != 0) info->page = s->page;
      if ((info->mask & SIF_POS) != 0) info->pos = s->pos;
      if ((info->mask & SIF_TRACKPOS) != 0) info->trackPos = s->tracking ? s->trackPos : s->pos;
      return 1;
    }
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

}  // namespace platform::controls
