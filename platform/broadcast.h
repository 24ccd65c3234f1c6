#pragma once
// Messages to every top-level window at once (the handle HWND_BROADCAST),
// sent or posted through the window system, which delivers them to the
// windows of this process and journals each broadcast with the message's
// name:
//
//   broadcast WM_SETTINGCHANGE wParam=0xf2 lParam=0x0 to 0 windows
//   broadcast VELMsingleInstanceMsg wParam=0x0 lParam=0x0 to 1 windows

#include <cstdint>
#include <string>

namespace platform {

enum class Delivery { Sent, Posted };

void BroadcastMessage(Delivery delivery, uint32_t message, uintptr_t wParam, intptr_t lParam);

// A message's name: the handheld's name of a message this system uses, the
// name a registered message was registered under, or its number in hex.
std::string MessageNameOf(uint32_t message);

}  // namespace platform
