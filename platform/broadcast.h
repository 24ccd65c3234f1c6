#pragma once
// Messages to every top-level window at once (the handle HWND_BROADCAST).
// On a device without a window system no window of the process receives
// them; the journal keeps each broadcast, with the message's name when it
// has one:
//
//   broadcast sent WM_SETTINGCHANGE wParam=242 lParam=0
//   broadcast posted VELMsingleInstanceMsg wParam=0 lParam=0

#include <cstdint>
#include <string>

namespace platform {

// HWND_BROADCAST, the handle that stands for every top-level window.
inline constexpr uintptr_t kBroadcastWindow = 0xFFFF;

inline constexpr uint32_t kWmQuit = 0x0012;
inline constexpr uint32_t kWmSettingChange = 0x001A;

enum class Delivery { Sent, Posted };

void BroadcastMessage(Delivery delivery, uint32_t message, uintptr_t wParam, intptr_t lParam);

// A message's name: the handheld's name of a message this system uses, the
// name a registered message was registered under, or its number in hex.
std::string MessageNameOf(uint32_t message);

}  // namespace platform
