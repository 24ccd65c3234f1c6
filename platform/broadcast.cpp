#include "platform/broadcast.h"

#include "platform/windows/messages.h"
#include "platform/windows/window_types.h"

namespace platform {

std::string MessageNameOf(uint32_t message) { return MessageName(message); }

void BroadcastMessage(Delivery delivery, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (delivery == Delivery::Sent)
    SendMessage(kBroadcast, message, wParam, lParam);
  else
    PostMessage(kBroadcast, message, wParam, lParam);
}

}  // namespace platform
