#pragma once
// The small types of the window system: window handles, the parameters and
// result of a message, the message record, and the procedures that handle
// messages, shaped as on the handheld so that code written against its window
// services reads the same here.

#include <cstddef>
#include <cstdint>
#include <functional>

#include "platform/drawing_types.h"

namespace platform {

// A window handle: a number the window system gives out and never gives out
// again while the process lives, so a handle kept after its window was
// destroyed names no window instead of another one.
struct Hwnd {
  uint32_t value = 0;

  explicit operator bool() const { return value != 0; }
  bool operator==(const Hwnd&) const = default;
  auto operator<=>(const Hwnd&) const = default;
};

inline constexpr Hwnd kNoWindow{};
// The broadcast address of SendMessage/PostMessage: every top-level window.
inline constexpr Hwnd kBroadcast{0xFFFF};

using WParam = uintptr_t;
using LParam = intptr_t;
using LResult = intptr_t;

// Handles travel in message parameters (WM_COMMAND's control, WM_VSCROLL's
// scroll bar).
constexpr LParam ToLParam(Hwnd hwnd) { return static_cast<LParam>(hwnd.value); }
constexpr WParam ToWParam(Hwnd hwnd) { return static_cast<WParam>(hwnd.value); }
constexpr Hwnd HwndFromParam(uintptr_t value) {
  return Hwnd{value > UINT32_MAX ? 0u : static_cast<uint32_t>(value)};
}
inline Hwnd HwndFromParam(LParam value) { return HwndFromParam(static_cast<uintptr_t>(value)); }

constexpr uint16_t LoWord(uintptr_t v) { return static_cast<uint16_t>(v & 0xFFFF); }
constexpr uint16_t HiWord(uintptr_t v) { return static_cast<uint16_t>((v >> 16) & 0xFFFF); }
constexpr WParam MakeWParam(uint16_t low, uint16_t high) {
  return static_cast<WParam>(low) | static_cast<WParam>(high) << 16;
}
// A point in a mouse message's lParam: x in the low word, y in the high
// word, both signed.
constexpr LParam PointToLParam(Point p) {
  return static_cast<LParam>(static_cast<uint32_t>(static_cast<uint16_t>(p.x)) |
                             static_cast<uint32_t>(static_cast<uint16_t>(p.y)) << 16);
}
constexpr Point PointFromLParam(LParam l) {
  return {static_cast<int16_t>(LoWord(static_cast<uintptr_t>(l))),
          static_cast<int16_t>(HiWord(static_cast<uintptr_t>(l)))};
}

// One message as a queue holds it (MSG).
struct Msg {
  Hwnd hwnd;
  uint32_t message = 0;
  WParam wParam = 0;
  LParam lParam = 0;
  uint32_t time = 0;  // the tick count when it was queued
  Point pt;           // where the pen was, in screen coordinates
};

// A window procedure (WNDPROC).
using WindowProcedure = LResult (*)(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam);
// A dialog procedure (DLGPROC): nonzero when it handled the message.
using DialogProcedure = intptr_t (*)(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam);
// A timer's callback (TIMERPROC), called instead of sending WM_TIMER.
using TimerProcedure = void (*)(Hwnd hwnd, uint32_t message, uintptr_t id, uint32_t time);

}  // namespace platform

template <>
struct std::hash<platform::Hwnd> {
  size_t operator()(const platform::Hwnd& h) const noexcept { return std::hash<uint32_t>{}(h.value); }
};
