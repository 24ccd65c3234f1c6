#include "platform/broadcast.h"

#include <cstdio>

#include "platform/journal.h"
#include "platform/registered_messages.h"

namespace platform {

std::string MessageNameOf(uint32_t message) {
  switch (message) {
    case kWmQuit: return "WM_QUIT";
    case kWmSettingChange: return "WM_SETTINGCHANGE";
    default: break;
  }
  if (auto name = RegisteredMessageName(message)) return ToUtf8(*name);
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%04X", message);
  return hex;
}

void BroadcastMessage(Delivery delivery, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  JournalEvent(std::string("broadcast ") + (delivery == Delivery::Sent ? "sent " : "posted ") +
               MessageNameOf(message) + " wParam=" + std::to_string(wParam) +
               " lParam=" + std::to_string(lParam));
}

}  // namespace platform
