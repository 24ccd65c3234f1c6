#pragma once
// The window procedures of the standard control classes (inside the
// controls; programs reach them through their class names).

#include "platform/windows/window_types.h"

namespace platform::controls {

LResult ButtonProcedure(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam);
LResult StaticProcedure(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam);
LResult EditProcedure(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam);
LResult ListBoxProcedure(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam);
LResult ComboBoxProcedure(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam);
LResult ScrollBarProcedure(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam);
LResult ProgressProcedure(Hwnd hwnd, uint32_t message, WParam wParam, LParam lParam);

}  // namespace platform::controls
