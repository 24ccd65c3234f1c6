#pragma once
// The default handling of messages (DefWindowProc): texts, painting with the
// class's background, closing, fonts, activation and control colours.
//
// WM_CTLCOLOR* answers with black text on the window colour: wParam carries
// the control's DeviceContext*, and the result is a const Brush* that the
// window system keeps alive.

#include "platform/brush.h"
#include "platform/windows/window_types.h"

namespace platform {

LResult DefWindowProc(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam);

// The brushes of the system colours, alive for the whole process.
const Brush* GetSysColorBrush(int index);

}  // namespace platform
