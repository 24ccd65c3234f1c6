// Progress bars: a range and a position, drawn as a row of blocks (or one
// smooth bar) in the highlight colour.

#include <algorithm>
#include <utility>

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

constexpr int kBlockGap = 2;

struct ProgressState {
  int low = 0;
  int high = 100;
  int pos = 0;
  int step = 10;
};

std::shared_ptr<ProgressState> StateOf(Hwnd hwnd) {
  auto state = WindowClassState<ProgressState>(hwnd);
  if (!state) {
    state = std::make_shared<ProgressState>();
    SetWindowClassState(hwnd, state);
  }
  return state;
}

// Sets the position within the range and returns the one before.
int SetPosition(Hwnd hwnd, ProgressState& s, int64_t pos) {
  const int old = s.pos;
  s.pos = static_cast<int>(std::clamp<int64_t>(pos, s.low, s.high));
  if (s.pos != old) InvalidateRect(hwnd, nullptr, true);
  return old;
}

void Paint(Hwnd hwnd) {
  PaintStruct ps;
  DeviceContext* dc = BeginPaint(hwnd, &ps);
  if (dc == nullptr) return;
  const auto s = StateOf(hwnd);
  Rect client;
  GetClientRect(hwnd, &client);
  FillSolid(*dc, client, GetSysColor(COLOR_WINDOW));
  const uint32_t style = static_cast<uint32_t>(GetWindowLong(hwnd, GWL_STYLE));
  const bool framed = (style & WS_BORDER) != 0;
  if (!framed) Frame(*dc, client, GetSysColor(COLOR_BTNSHADOW));
  const Rect inside{client.left + (framed ? 1 : 2), client.top + (framed ? 1 : 2), client.right - (framed ? 1 : 2),
                    client.bottom - (framed ? 1 : 2)};
  const int range = s->high - s->low;
  const int filled = range <= 0 ? 0 : static_cast<int>(static_cast<int64_t>(inside.Width()) * (s->pos - s->low) / range);
  const ColorRef bar = GetSysColor(COLOR_HIGHLIGHT);
  if ((style & PBS_SMOOTH) != 0) {
    FillSolid(*dc, {inside.left, inside.top, inside.left + filled, inside.bottom}, bar);
  } else {
    // Blocks two thirds as wide as the bar is high, as many as the
    // position reaches, the last one whole.
    const int block = std::max(2, inside.Height() * 2 / 3);
    for (int x = inside.left; x < inside.left + filled && x < inside.right; x += block + kBlockGap)
      FillSolid(*dc, {x, inside.top, std::min(x + block, inside.right), inside.bottom}, bar);
  }
  EndPaint(hwnd, &ps);
}

}  // namespace

LResult ProgressProcedure(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam) {
  switch (message) {
    case WM_CREATE:
      StateOf(hwnd);
      return 0;
    case WM_PAINT:
      Paint(hwnd);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      InvalidateRect(hwnd, nullptr, true);
      return 0;
    case PBM_SETRANGE:
    case PBM_SETRANGE32: {
      auto s = StateOf(hwnd);
      const LResult old = static_cast<LResult>(MakeWParam(static_cast<uint16_t>(s->low), static_cast<uint16_t>(s->high)));
      if (message == PBM_SETRANGE) {
        s->low = static_cast<int16_t>(LoWord(static_cast<uintptr_t>(lParam)));
        s->high = static_cast<int16_t>(HiWord(static_cast<uintptr_t>(lParam)));
      } else {
        s->low = static_cast<int>(static_cast<intptr_t>(wParam));
        s->high = static_cast<int>(lParam);
      }
      if (s->high < s->low) std::swap(s->low, s->high);
      SetPosition(hwnd, *s, s->pos);
      InvalidateRect(hwnd, nullptr, true);
      return old;
    }
    case PBM_GETRANGE: {
      const auto s = StateOf(hwnd);
      if (auto* range = reinterpret_cast<int*>(lParam)) {
        range[0] = s->low;
        range[1] = s->high;
      }
      return wParam != 0 ? s->low : s->high;
    }
    case PBM_SETPOS:
      return SetPosition(hwnd, *StateOf(hwnd), static_cast<int>(static_cast<intptr_t>(wParam)));
    case PBM_DELTAPOS: {
      auto s = StateOf(hwnd);
      return SetPosition(hwnd, *s, int64_t{s->pos} + static_cast<int>(static_cast<intptr_t>(wParam)));
    }
    case PBM_GETPOS:
      return StateOf(hwnd)->pos;
    case PBM_SETSTEP: {
      auto s = StateOf(hwnd);
      return std::exchange(s->step, static_cast<int>(static_cast<intptr_t>(wParam)));
    }
    case PBM_STEPIT: {
      // Stepping past the end starts again from the beginning.
      auto s = StateOf(hwnd);
      int64_t next = int64_t{s->pos} + s->step;
      if (next > s->high) next = s->low + (next - s->high);
      if (next < s->low) next = s->high - (s->low - next);
      return SetPosition(hwnd, *s, next);
    }
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

}  // namespace platform::controls
