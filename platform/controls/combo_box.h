#pragma once
// The dropped list of a combo box lies outside its window, above every
// other window; the screen renderer draws it through these.

#include <optional>

#include "platform/device_context.h"
#include "platform/windows/window_types.h"

namespace platform {

// Where a dropped list lies on the screen; nullopt when the window is not a
// shown combo box with its list dropped.
std::optional<Rect> DroppedListRect(Hwnd combo);
// Draws the dropped list onto a context in screen coordinates; false when
// there is none.
bool PaintDroppedList(Hwnd combo, DeviceContext& screen);

}  // namespace platform
