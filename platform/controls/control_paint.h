#pragma once
// What the standard controls share when they draw and notify (inside the
// controls, not for programs): the colours their parent chooses, their
// font, frames, arrows and the notifications to the parent.

#include <memory>

#include "platform/device_context.h"
#include "platform/windows/window_types.h"

namespace platform::controls {

// Selects the control's font into dc and asks the parent for colours with
// the given WM_CTLCOLOR* message; returns the background brush (never
// null). A control without a parent gets black on white.
const Brush& PrepareDc(Hwnd hwnd, DeviceContext& dc, uint32_t ctlColorMessage);

void FillSolid(DeviceContext& dc, const Rect& rect, ColorRef color);
void Frame(DeviceContext& dc, const Rect& rect, ColorRef color, int thickness = 1);
enum class ArrowDirection { Up, Down, Left, Right };
// A filled triangle centred in the box.
void Arrow(DeviceContext& dc, const Rect& box, ArrowDirection direction, ColorRef color);

// The dotted frame that marks the control with the focus.
void FocusFrame(DeviceContext& dc, const Rect& rect, ColorRef color);

// Sends WM_COMMAND with the control's id and the code to its parent.
void NotifyParent(Hwnd hwnd, uint16_t code);

// The control's text colour: grey when it is disabled.
ColorRef TextColor(Hwnd hwnd, const DeviceContext& dc);

// The height of one line of the control's font.
int LineHeight(Hwnd hwnd);

// The width of a text on one line in dc's font.
int TextWidth(const DeviceContext& dc, WStringView text);

}  // namespace platform::controls
